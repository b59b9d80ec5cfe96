#ifndef AMBREL_SYMBOL_ACCESS_H
#define AMBREL_SYMBOL_ACCESS_H

#include <cstdint>
#include <memory>

// The 8-byte slot in which a variable's value crosses the runtime: a double
// for real accessors, a signed 64-bit integer for the others. Which one is
// known only from the accessor's ValueKind.
union SymbolValue {
    double real;
    int64_t integer;
    uint64_t word;
};
static_assert(sizeof(SymbolValue) == 8, "a value slot is 8 bytes");

// A slot holding an integer or a real value.
inline SymbolValue IntegerSlot(int64_t integer) {
    SymbolValue value;
    value.integer = integer;
    return value;
}

inline SymbolValue RealSlot(double real) {
    SymbolValue value;
    value.real = real;
    return value;
}

enum SymbolValueKind : uint32_t {
    SymbolValueKind_real = 0,
    SymbolValueKind_integer = 1,
    SymbolValueKind_none = 2,
};

// Typed accessor of one ECU variable at its absolute address. Plug-ins call
// Write, Read and ValueKind through the virtual table, so the field order
// and the order of the virtual operations must stay as they are.
struct SymbolAccess {
    uint8_t bitOffset;
    uint8_t bitWidth;
    uint32_t packingOrder;
    uint64_t address;

    SymbolAccess(uint64_t address_, uint8_t bitOffset_, uint8_t bitWidth_, uint32_t packingOrder_)
        : bitOffset(bitOffset_), bitWidth(bitWidth_), packingOrder(packingOrder_), address(address_) {}
    virtual ~SymbolAccess() = default;
    virtual void Write(SymbolValue& value) = 0;
    virtual SymbolValue Read() = 0;
    virtual SymbolValueKind ValueKind() = 0;

    uint64_t Address() const { return address; }
};

using SymbolAccessPtr = std::unique_ptr<SymbolAccess>;

#endif
