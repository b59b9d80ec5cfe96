/* Functions shorter than the 12-byte jump of a redirection, compiled at -O2
   without function alignment and in source order (see CMakeLists.txt):
   TightNeighbour begins right where ShortTight ends, while ShortPadded is
   followed by the alignment fill in front of PaddedNeighbour. */

#include <stdint.h>

int32_t ShortTight(void) { return 6; }
int32_t TightNeighbour(void) { return 7; }

__attribute__((aligned(32))) int32_t ShortPadded(void) { return 8; }
__attribute__((aligned(32))) int32_t PaddedNeighbour(void) { return 10; }
