#ifndef TESTS_PELLAN_RECORD_H
#define TESTS_PELLAN_RECORD_H

// The record the stand-in XCP slave keeps beside itself: one line per call
// it received, the call's name first.

#include <sstream>
#include <string>

namespace harness {

inline constexpr const char* kPellanRecordName = "PellanCalls.txt";

// The names of the calls in a record, in order, blank-separated; the lines
// that detail a call's arguments are left out.
inline std::string PellanCallSequence(const std::string& record) {
    std::istringstream lines(record);
    std::string line;
    std::string sequence;
    while (std::getline(lines, line)) {
        if (line.rfind("InitPellan", 0) == 0 || line.rfind("StepPellan", 0) == 0 ||
            line.rfind("TerminatePellan", 0) == 0)
            sequence += (sequence.empty() ? "" : " ") + line.substr(0, line.find(' '));
    }
    return sequence;
}

}  // namespace harness

#endif
