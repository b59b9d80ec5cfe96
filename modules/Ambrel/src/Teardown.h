#ifndef AMBREL_TEARDOWN_H
#define AMBREL_TEARDOWN_H

// The steps of fmi2Terminate, fmi2Reset and fmi2FreeInstance: each one runs
// even when a step before it failed, for a step skipped would leave a
// library loaded or the run's EEPROM unwritten. A failure is told to the
// master with the step it came from, and the call fails at the end.

#include <optional>
#include <string>
#include <type_traits>

#include "CaughtFailure.h"
#include "fmi2/fmi2FunctionTypes.h"

class FmiInternalState;

class Teardown {
public:
    Teardown(FmiInternalState& instance, const char* function) : instance_(instance), function_(function) {}

    // Runs one step. A step that answers a bool answers false when it
    // failed and has said why itself; an exception out of a step is
    // reported here.
    template <typename Step>
    void Run(const std::string& step, Step&& body) noexcept {
        bool succeeded = true;
        const std::optional<std::string> failure = CatchFailure([&] {
            if constexpr (std::is_same_v<decltype(body()), bool>)
                succeeded = body();
            else
                body();
        });
        if (failure) Report(step, *failure);
        if (failure || !succeeded) failed_ = true;
    }

    const char* function() const { return function_; }
    bool failed() const { return failed_; }
    fmi2Status status() const { return failed_ ? fmi2Error : fmi2OK; }

private:
    void Report(const std::string& step, const std::string& reason) noexcept;

    FmiInternalState& instance_;
    const char* function_;
    bool failed_ = false;
};

#endif
