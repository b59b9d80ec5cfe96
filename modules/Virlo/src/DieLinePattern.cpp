#include "DieLinePattern.h"

#include <cstdio>

DieLinePattern::DieLinePattern(const char* pattern) {
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0,
                          &errorCode, &errorOffset, nullptr);
    if (code_ == nullptr) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(errorCode, message, sizeof(message));
        std::printf("PCRE2 compilation failed at offset %d: %s\n", static_cast<int>(errorOffset),
                    reinterpret_cast<const char*>(message));
        std::fflush(stdout);
        return;
    }
    // The dump holds millions of lines; compiled machine code matches them
    // several times faster. Where JIT is unavailable the interpreter runs.
    pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);
    matchData_ = pcre2_match_data_create_from_pattern(code_, nullptr);
}

DieLinePattern::~DieLinePattern() {
    pcre2_match_data_free(matchData_);
    pcre2_code_free(code_);
}

bool DieLinePattern::Match(const char* text, uint64_t length) {
    if (code_ == nullptr || matchData_ == nullptr) return false;
    subject_ = text;
    return pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(text), length, 0, 0, matchData_,
                       nullptr) > 0;
}

std::string DieLinePattern::Group(uint32_t n) const {
    if (matchData_ == nullptr || n >= pcre2_get_ovector_count(matchData_)) return {};
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData_);
    const PCRE2_SIZE start = ovector[2 * n];
    const PCRE2_SIZE end = ovector[2 * n + 1];
    if (start == PCRE2_UNSET || end < start) return {};
    size_t length = end - start;
    if (length > groupLimit - 1) length = groupLimit - 1;
    return std::string(subject_ + start, length);
}
