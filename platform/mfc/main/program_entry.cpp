// The program entry of a framework application: runs the one application object.
#include <mfc/app.h>

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
