#include "CodePadding.h"

#include <cstring>

namespace {

constexpr uint8_t kInt3 = 0xCC;
constexpr uint8_t kZeroFill = 0x00;
constexpr uint8_t kOperandSizePrefix = 0x66;
constexpr uint8_t kCodeSegmentPrefix = 0x2E;

// The nop forms after their prefixes: nop, and nopl with the operand forms
// that alignment fill uses.
struct NopBody {
    uint64_t length;
    uint8_t bytes[8];
};
constexpr NopBody kNopBodies[] = {
    {1, {0x90}},
    {3, {0x0F, 0x1F, 0x00}},
    {4, {0x0F, 0x1F, 0x40, 0x00}},
    {5, {0x0F, 0x1F, 0x44, 0x00, 0x00}},
    {7, {0x0F, 0x1F, 0x80, 0x00, 0x00, 0x00, 0x00}},
    {8, {0x0F, 0x1F, 0x84, 0x00, 0x00, 0x00, 0x00, 0x00}},
};

// Length of the padding instruction at the start, 0 when none starts there
// or it does not end within the available bytes.
uint64_t PaddingInstructionLength(const uint8_t* bytes, uint64_t available) {
    if (bytes[0] == kInt3 || bytes[0] == kZeroFill) return 1;
    uint64_t prefixes = 0;
    while (prefixes < available && bytes[prefixes] == kOperandSizePrefix) ++prefixes;
    if (prefixes < available && bytes[prefixes] == kCodeSegmentPrefix) ++prefixes;
    for (const NopBody& body : kNopBodies) {
        const uint64_t length = prefixes + body.length;
        if (length <= available && length <= kLongestInstruction &&
            std::memcmp(bytes + prefixes, body.bytes, body.length) == 0)
            return length;
    }
    return 0;
}

}  // namespace

uint64_t PaddingLength(const uint8_t* bytes, uint64_t available) {
    uint64_t length = 0;
    while (length < available) {
        const uint64_t step = PaddingInstructionLength(bytes + length, available - length);
        if (step == 0) break;
        length += step;
    }
    return length;
}
