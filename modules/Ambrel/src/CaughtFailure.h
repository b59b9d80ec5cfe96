#ifndef AMBREL_CAUGHT_FAILURE_H
#define AMBREL_CAUGHT_FAILURE_H

#include <exception>
#include <optional>
#include <string>

// The text of a failure; empty when even that cannot be had.
inline std::optional<std::string> FailureText(const char* text) noexcept {
    try {
        return std::string(text);
    } catch (...) {
        return std::string();
    }
}

// Runs body and gives the text of an exception that left it, or nothing
// when it returned. The exception is over when this returns: one thrown by
// a plug-in or an outside library may be of a type that lives in that
// library, so nothing may still hold it when the library is unloaded.
template <typename Body>
std::optional<std::string> CatchFailure(Body&& body) noexcept {
    try {
        body();
        return std::nullopt;
    } catch (const std::exception& failure) {
        return FailureText(failure.what());
    } catch (...) {
        return FailureText("unknown exception");
    }
}

#endif
