// Anchor of the seam library; each seam lives in its own file beside this one.
#include <seams/seams.h>
