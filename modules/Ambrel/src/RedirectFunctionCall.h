#ifndef AMBREL_REDIRECT_FUNCTION_CALL_H
#define AMBREL_REDIRECT_FUNCTION_CALL_H

// One patch of function-call redirection: the entry of a vECU function is
// overwritten with an absolute jump to its replacement, and the bytes it
// held are kept to be written back. Two variants differ in how the jump
// loads its target.

#include <cstdint>

// How SetSource and SetTarget take an address.
enum RedirectAddressMode : uint32_t {
    RedirectAddress_FollowJump = 0,  // a relative jump at the address is followed once
    RedirectAddress_AsGiven = 1,
};

class RedirectFunctionCall {
public:
    RedirectFunctionCall(const RedirectFunctionCall&) = delete;
    RedirectFunctionCall& operator=(const RedirectFunctionCall&) = delete;

    // The destination of a relative jump (E9 rel32) at the address, or the
    // address itself when no such jump starts there.
    virtual uint64_t ResolveJump(uint64_t address);
    virtual void SetSource(uint64_t address, uint32_t mode);
    virtual void SetTarget(uint64_t address, uint32_t mode);
    // Saves the bytes at source and writes the jump over them; 0, or the
    // errno of the failed protection change (nothing written then).
    virtual int Apply() = 0;
    // Writes the saved bytes back at source; 0 or an errno as Apply.
    virtual int Restore();
    virtual void SaveUnpatchedBytes();
    // The variant's buffer of saved bytes and, through length, its size.
    virtual uint8_t* UnpatchedBytes(uint64_t* length) = 0;
    virtual ~RedirectFunctionCall() = default;

    uint8_t* savedBytes = nullptr;
    uint64_t source = 0;
    uint64_t target = 0;

protected:
    RedirectFunctionCall() = default;
};

// mov rax, imm32 (sign-extended); jmp rax: reaches only targets below 2 GiB.
class RedirectFunctionCallWin32 final : public RedirectFunctionCall {
public:
    static constexpr uint64_t kPatchLength = 9;

    int Apply() override;
    uint8_t* UnpatchedBytes(uint64_t* length) override;

    uint8_t unpatchedBytes[kPatchLength] = {};
};

// mov rax, imm64; jmp rax: reaches any target.
class RedirectFunctionCallWin64 final : public RedirectFunctionCall {
public:
    static constexpr uint64_t kPatchLength = 12;

    int Apply() override;
    uint8_t* UnpatchedBytes(uint64_t* length) override;

    uint8_t unpatchedBytes[kPatchLength] = {};
};

#endif
