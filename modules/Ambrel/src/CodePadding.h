#ifndef AMBREL_CODE_PADDING_H
#define AMBREL_CODE_PADDING_H

// Recognises the filler that compilers and assemblers put between functions
// (int3, nop, the multi-byte nop forms, zero fill), so that a patch longer
// than its function is written only where no other code can lie.

#include <cstdint>

// The longest instruction, and so the furthest a padding instruction that
// starts inside a range can reach past it.
inline constexpr uint64_t kLongestInstruction = 15;

// The number of bytes from the start that are whole padding instructions,
// each ending within the available bytes.
uint64_t PaddingLength(const uint8_t* bytes, uint64_t available);

#endif
