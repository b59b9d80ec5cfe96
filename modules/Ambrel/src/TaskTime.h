#ifndef AMBREL_TASK_TIME_H
#define AMBREL_TASK_TIME_H

// Task time: whole nanoseconds held in a double. The conversions are inline
// because the step loop makes several for every task run.

#include <cmath>
#include <cstdint>

// Added to every time in seconds before it is converted.
inline constexpr double kTaskTimeEpsilon = 1e-10;

// The latest task time: the largest double that an unsigned 64-bit count can
// hold (2^64 itself cannot), so that every task time converts back to a count.
inline constexpr double kLatestTaskTime = 18446744073709549568.0;

// (seconds + epsilon) * 1e9 truncated to an unsigned 64-bit count, held as a
// double. Times outside the count's range saturate (below 0 gives 0, from
// 2^64 on kLatestTaskTime); NaN stays NaN, the mark of a task that is not
// scheduled.
inline double SecondsToTaskTime(double seconds, double epsilon = kTaskTimeEpsilon) {
    const double nanoseconds = (seconds + epsilon) * 1e9;
    if (std::isnan(nanoseconds)) return nanoseconds;
    if (nanoseconds <= 0.0) return 0.0;
    if (nanoseconds > kLatestTaskTime) return kLatestTaskTime;
    return static_cast<double>(static_cast<uint64_t>(nanoseconds));
}

// True when a time in seconds converts to a task time without saturating:
// from 0 up to kLatestTaskTime (about 584 years). False for NaN.
inline bool IsWithinTaskTimeRange(double seconds) {
    const double nanoseconds = (seconds + kTaskTimeEpsilon) * 1e9;
    return nanoseconds >= 0.0 && nanoseconds <= kLatestTaskTime;
}

// A task time as its unsigned count; NaN and negative values give 0.
inline uint64_t TaskTimeToCount(double taskTime) {
    if (!(taskTime > 0.0)) return 0;
    if (taskTime >= kLatestTaskTime) return static_cast<uint64_t>(kLatestTaskTime);
    return static_cast<uint64_t>(taskTime);
}

// offset + period * count in task time, the product taken in whole
// nanoseconds so that the k-th run of a periodic task has no accumulated
// drift; a product or sum beyond the count's range saturates.
inline double PeriodicActivationTime(double offsetTaskTime, double periodTaskTime, uint64_t count) {
    uint64_t product = 0;
    if (__builtin_mul_overflow(TaskTimeToCount(periodTaskTime), count, &product))
        return kLatestTaskTime;
    const double sum = offsetTaskTime + static_cast<double>(product);
    return sum > kLatestTaskTime ? kLatestTaskTime : sum;
}

#endif
