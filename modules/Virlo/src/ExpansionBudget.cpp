#include "ExpansionBudget.h"

#include <cstdio>

namespace {

std::string Bound(uint64_t limit, const char* what) { return std::to_string(limit) + " " + what; }

}  // namespace

std::string ExpansionBudget::BoundPassedBy(const ExpansionCost& more) const {
    // What is taken never exceeds a bound, so the room left cannot wrap.
    if (more.records > kMaxRecords - taken_.records) return Bound(kMaxRecords, "records");
    if (more.characters > kMaxNameCharacters - taken_.characters)
        return Bound(kMaxNameCharacters, "characters of names");
    return std::string();
}

bool ExpansionBudget::TakeRecord(uint64_t nameLength) {
    if (!passed_.empty()) return false;
    passed_ = BoundPassedBy(ExpansionCost{1, nameLength});
    if (!passed_.empty()) return false;
    ++taken_.records;
    taken_.characters += nameLength;
    return true;
}

bool ExpansionBudget::TakeStep() {
    if (!passed_.empty()) return false;
    if (steps_ == kMaxWalkSteps) {
        passed_ = Bound(kMaxWalkSteps, "steps through types");
        return false;
    }
    ++steps_;
    return true;
}

void ReportSymbolsLeftOut(const std::string& name, const std::string& bound) {
    std::fprintf(stderr, "The walk of the symbol %s ran past %s; it and the symbols after it are left out.\n",
                 name.c_str(), bound.c_str());
}
