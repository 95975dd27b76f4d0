// Whole-file reads with a size limit, atomic whole-file writes and line splitting, for the registry and
// profile files.
#pragma once

#include <win32/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::kernel {

// Reads the file at the Linux path `path`. Null with `error` set when it cannot be read (ERROR_FILE_NOT_FOUND
// for a missing file, ERROR_INVALID_DATA when it is larger than `maxBytes`).
std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes, DWORD& error);

// Replaces the file with `contents` through a temporary file in the same folder and a rename, so that
// readers see the old or the new file, never a part. With `createFolders`, missing parent folders are
// made first. False with `error` set on failure (the old file stays).
[[nodiscard]] bool writeWholeFile(const std::string& path, const std::string& contents, bool createFolders,
                                  DWORD& error);

// The lines of `text`, split at LF with a CR before it dropped.
std::vector<std::string_view> splitLines(std::string_view text);

} // namespace platform::kernel
