#ifndef AMBREL_TASK_TIME_H
#define AMBREL_TASK_TIME_H

#include <cstdint>

// A second in task time is counted in whole nanoseconds held in a double.
inline constexpr double kTaskTimeEpsilon = 1e-10;

// (seconds + epsilon) * 1e9 truncated to an unsigned 64-bit count, held as a
// double. Times outside the count's range saturate (below 0 gives 0); NaN
// stays NaN, the mark of a task that is not scheduled.
double SecondsToTaskTime(double seconds, double epsilon = kTaskTimeEpsilon);

#endif
