#ifndef VIRLO_EXPANSION_BUDGET_H
#define VIRLO_EXPANSION_BUDGET_H

// What the walks through the types of one file's symbols may store in all.
// A damaged or hostile file can declare types that expand without end:
// arrays of billions of elements, structures that each hold two of the one
// before, dozens of levels deep, names of thousands of characters, chains of
// types that lead nowhere, met from every member. Each bound lies well above
// what an ECU image holds and keeps the reader's memory and time bounded,
// whatever the file.

#include <cstdint>
#include <string>

constexpr uint64_t kMaxRecords = 4194304;
constexpr uint64_t kMaxNameCharacters = 268435456;  // 64 a record
constexpr uint64_t kMaxWalkSteps = 33554432;        // 8 a record

// Records, and the characters of their names, that walks store.
struct ExpansionCost {
    uint64_t records = 0;
    uint64_t characters = 0;
};

class ExpansionBudget {
public:
    // What the walks have stored so far.
    ExpansionCost Taken() const { return taken_; }

    // The bound that storing this much more would pass ("4194304 records");
    // empty when it fits.
    std::string BoundPassedBy(const ExpansionCost& more) const;

    // One record whose name has this many characters, or one step of a walk
    // through types: false when it would pass a bound, and from then on.
    bool TakeRecord(uint64_t nameLength);
    bool TakeStep();

    // The bound the walks ran past; empty while they have not.
    const std::string& Passed() const { return passed_; }

private:
    ExpansionCost taken_;
    uint64_t steps_ = 0;
    std::string passed_;
};

// One line on standard error: the walk of this symbol ran past a bound, and
// the symbol and those after it are left out.
void ReportSymbolsLeftOut(const std::string& name, const std::string& bound);

#endif
