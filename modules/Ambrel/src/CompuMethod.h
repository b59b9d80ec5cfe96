#ifndef AMBREL_COMPU_METHOD_H
#define AMBREL_COMPU_METHOD_H

#include <cstdint>

struct ScalingRecord;

// Converts a raw value to its physical value (or back, for the causalities
// "inputs" and "parameters"); throws std::runtime_error naming the
// COMPU_METHOD and the symbol when the conversion is impossible.
double ApplyCompuMethod(double value, const ScalingRecord& scaling);

// The same for integer variables; the result is truncated toward zero.
int64_t ApplyCompuMethodInteger(int64_t value, const ScalingRecord& scaling);

#endif
