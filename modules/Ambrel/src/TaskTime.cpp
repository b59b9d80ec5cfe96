#include "TaskTime.h"

#include <cmath>

double SecondsToTaskTime(double seconds, double epsilon) {
    const double nanoseconds = (seconds + epsilon) * 1e9;
    if (std::isnan(nanoseconds)) return nanoseconds;
    if (nanoseconds <= 0.0) return 0.0;
    // 2^64 is the first value that no unsigned 64-bit count can hold.
    constexpr double kLimit = 18446744073709551616.0;
    if (nanoseconds >= kLimit) return static_cast<double>(UINT64_MAX);
    return static_cast<double>(static_cast<uint64_t>(nanoseconds));
}
