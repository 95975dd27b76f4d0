// Leak-check settings of every sanitizer test program and of the program itself: allocations that live
// for the whole process in libraries not ours (GStreamer plugins from their library constructors, the
// sound-server context the PulseAudio device provider keeps after a failed connection, fontconfig's parse
// buffer once Qt has loaded fonts, the read buffer of the session-bus connection Qt's D-Bus thread leaves
// open at exit).
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:_dl_init\nleak:libgstpulseaudio.so\nleak:libfontconfig.so\nleak:libdbus-1.so\n";
}
