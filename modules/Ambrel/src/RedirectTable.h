#ifndef AMBREL_REDIRECT_TABLE_H
#define AMBREL_REDIRECT_TABLE_H

// The redirections of one instance: the pairs the configuration asks for,
// and the patches installed from them, keyed by the address they patch.
// Destroying the table writes back every patched function.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RedirectFunctionCall.h"

class RedirectTable {
public:
    // Called with the source of a patch whose bytes could not be written
    // back and the errno of the failure.
    using RestoreFailure = std::function<void(uint64_t source, int error)>;

    RedirectTable() = default;
    ~RedirectTable();
    RedirectTable(const RedirectTable&) = delete;
    RedirectTable& operator=(const RedirectTable&) = delete;

    // Keeps a pair (function to redirect, replacement) for installation.
    void AddPending(std::string from, std::string to);

    // Patches source to jump to target, after writing back an earlier patch
    // of the same source. Equal addresses only remove that earlier patch.
    // 0, or the errno of a failed protection change; a patch that could not
    // be written is not kept, one that could not be written back stays.
    int Add(uint64_t source, uint64_t target, uint32_t sourceMode, uint32_t targetMode);

    // Writes back and drops the patch of source; the number dropped (0 or 1).
    // A patch that cannot be written back stays.
    size_t Remove(uint64_t source);

    // Writes back and drops every patch in ascending order of source.
    void RestoreAll(const RestoreFailure& failed = nullptr);

    // Length of the jump that Add writes.
    uint64_t PatchLength() const;

    // The next two find installed patches by their key, which is where
    // their jump is written when Add took the source as given.

    // The installed patch whose jump would share a byte with a jump written
    // at address; null when none would.
    const RedirectFunctionCall* OverlappingPatch(uint64_t address) const;

    // The installed patches that a call of target passes, in order, before
    // it arrives at source; empty when it never does. Patching source to
    // jump to target would then close a loop.
    std::vector<const RedirectFunctionCall*> PathBack(uint64_t source, uint64_t target) const;

    // An installed patch whose target lies inside a jump written at address
    // but not at its first byte; null when none does. A target at the first
    // byte only passes on through that jump.
    const RedirectFunctionCall* TargetInsideJumpAt(uint64_t address) const;

    std::vector<std::pair<std::string, std::string>> pendingPairs;
    // 0 selects the 9-byte patch, 1 the 12-byte one. The 9-byte patch cannot
    // reach code loaded above 2 GiB, which is where libraries load.
    uint32_t use64BitPatch = 1;
    std::map<uint64_t, std::unique_ptr<RedirectFunctionCall>> redirects;

private:
    std::unique_ptr<RedirectFunctionCall> CreatePatch() const;
};

#endif
