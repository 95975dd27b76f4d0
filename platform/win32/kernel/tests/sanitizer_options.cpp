// Leak-check settings of this test program: GStreamer's plugins allocate once in their library
// constructors and never free, which is not a leak of ours.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:_dl_init\n";
}
