// libjpeg error manager whose error exit jumps back to the call that started the libjpeg work.
//
// Between the setjmp of a call and a jump no C++ object with a destructor may be alive: the call keeps
// its file, buffers and libjpeg object as plain resources, in volatile locals where they change after
// the setjmp, and releases them by hand on both paths.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace jpegfile {

// libjpeg's standard error manager with the jump context of the running call beside it.
struct JumpingErrorManager {
    jpeg_error_mgr manager; // first, so libjpeg's err pointer is also a pointer to this struct
    std::jmp_buf jump;
};

// The error exit: back to the setjmp of the running call.
[[noreturn]] inline void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->jump, 1);
}

// Installs the standard error manager on `info` with jumpBack as its error exit and `output` as its
// message output.
template <typename Info>
void useJumpingErrors(Info& info, JumpingErrorManager& errors, void (*output)(j_common_ptr)) {
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    errors.manager.output_message = output;
}

} // namespace jpegfile
