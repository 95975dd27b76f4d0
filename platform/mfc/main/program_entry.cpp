// The program entry of a framework application: runs the one application object.
#include <malloc.h>

#include <mfc/app.h>

int main(int argc, char** argv) {
    // Frames and pictures (up to 3.75 MiB each) are allocated on one thread and freed on another. glibc
    // raises its mmap threshold to the size of each large block freed, after which such blocks come from
    // the threads' arenas, which fragment and keep what was freed. A fixed threshold keeps every block from
    // 128 KiB up in a mapping of its own, returned to the system when it is freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    return AfxWinMain(argc, argv);
}
