#ifndef VIRLO_DIE_LINE_PATTERN_H
#define VIRLO_DIE_LINE_PATTERN_H

// A PCRE2 pattern matched against single lines of a .die file, with its
// match data and the captured groups of the last match.

#include <cstddef>
#include <cstdint>
#include <string>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

class DieLinePattern {
public:
    // Compiles the pattern (no options). On failure prints
    // "PCRE2 compilation failed at offset %d: %s" to standard output and
    // stays unusable: every match fails.
    explicit DieLinePattern(const char* pattern);
    ~DieLinePattern();
    DieLinePattern(const DieLinePattern&) = delete;
    DieLinePattern& operator=(const DieLinePattern&) = delete;

    bool compiled() const { return code_ != nullptr; }

    // Unanchored match of the pattern against the line, from its start.
    bool Match(const char* text, uint64_t length);

    // Group n of the last successful match, cut to groupLimit - 1 bytes (the
    // size of the buffer a group is copied into); empty when it did not
    // take part in the match.
    std::string Group(uint32_t n) const;

    // Group texts are cut to this many bytes minus one.
    static constexpr size_t groupLimit = 100000;

private:
    pcre2_code* code_ = nullptr;
    pcre2_match_data* matchData_ = nullptr;
    const char* subject_ = nullptr;
};

#endif
