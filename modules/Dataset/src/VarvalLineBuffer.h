#ifndef DATASET_VARVAL_LINE_BUFFER_H
#define DATASET_VARVAL_LINE_BUFFER_H

#include <cstddef>

// The one line buffer of the varval reader and the merge writer: lines of
// calibration files can be very long, and one static buffer spares an
// allocation per line. Not locked: one calling thread at a time.
inline constexpr std::size_t kVarvalLineBufferSize = 10000000;
extern char varvalLineBuffer[kVarvalLineBufferSize];

#endif
