#ifndef SYMBOL_ACCESS_H
#define SYMBOL_ACCESS_H

// The typed accessor of one ECU variable. The runtime owns one per FMI
// variable; plug-ins, built separately, receive one through the callback
// table and call Write, Read and ValueKind through its virtual table. The
// field order and the order of the virtual operations are therefore part
// of the plug-in interface and must stay as they are.

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

// How the runtime owns an accessor. The callback table hands out the
// address of such an owner as a SymbolAccess**, so it must be exactly one
// plain pointer wide; a plug-in never deletes through it.
using SymbolAccessPtr = std::unique_ptr<SymbolAccess>;
static_assert(sizeof(SymbolAccessPtr) == sizeof(SymbolAccess*), "an owner is one plain pointer");

#endif
