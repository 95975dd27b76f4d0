// Leak-check settings of every sanitizer test program: allocations that live for the whole process in
// libraries not ours (GStreamer plugins from their library constructors, fontconfig's parse buffer
// once Qt has loaded fonts).
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:_dl_init\nleak:libfontconfig.so\n";
}
