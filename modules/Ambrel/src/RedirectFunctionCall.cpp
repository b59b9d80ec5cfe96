#include "RedirectFunctionCall.h"

#include <cstring>

#include "CodeWriter.h"

namespace {

constexpr uint8_t kRelativeJump = 0xE9;
constexpr uint64_t kRelativeJumpLength = 5;

const uint8_t* CodeAt(uint64_t address) { return reinterpret_cast<const uint8_t*>(address); }

}  // namespace

uint64_t RedirectFunctionCall::ResolveJump(uint64_t address) {
    if (CodeAt(address)[0] != kRelativeJump) return address;
    int32_t displacement = 0;
    std::memcpy(&displacement, CodeAt(address + 1), sizeof displacement);
    return address + kRelativeJumpLength + static_cast<uint64_t>(static_cast<int64_t>(displacement));
}

void RedirectFunctionCall::SetSource(uint64_t address, uint32_t mode) {
    source = mode == RedirectAddress_AsGiven ? address : ResolveJump(address);
}

void RedirectFunctionCall::SetTarget(uint64_t address, uint32_t mode) {
    target = mode == RedirectAddress_AsGiven ? address : ResolveJump(address);
}

int RedirectFunctionCall::Restore() {
    uint64_t length = 0;
    savedBytes = UnpatchedBytes(&length);
    return WriteCode(source, savedBytes, length);
}

void RedirectFunctionCall::SaveUnpatchedBytes() {
    uint64_t length = 0;
    savedBytes = UnpatchedBytes(&length);
    std::memcpy(savedBytes, CodeAt(source), length);
}

int RedirectFunctionCallWin32::Apply() {
    SaveUnpatchedBytes();
    const uint32_t low = static_cast<uint32_t>(target);
    uint8_t patch[kPatchLength] = {0x48, 0xC7, 0xC0, 0, 0, 0, 0, 0xFF, 0xE0};
    for (int i = 0; i < 4; ++i) patch[3 + i] = static_cast<uint8_t>(low >> (8 * i));
    return WriteCode(source, patch, kPatchLength);
}

uint8_t* RedirectFunctionCallWin32::UnpatchedBytes(uint64_t* length) {
    *length = kPatchLength;
    return unpatchedBytes;
}

int RedirectFunctionCallWin64::Apply() {
    SaveUnpatchedBytes();
    uint8_t patch[kPatchLength] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
    for (int i = 0; i < 8; ++i) patch[2 + i] = static_cast<uint8_t>(target >> (8 * i));
    return WriteCode(source, patch, kPatchLength);
}

uint8_t* RedirectFunctionCallWin64::UnpatchedBytes(uint64_t* length) {
    *length = kPatchLength;
    return unpatchedBytes;
}
