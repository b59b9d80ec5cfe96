#include "RedirectTable.h"

RedirectTable::~RedirectTable() { RestoreAll(); }

void RedirectTable::AddPending(std::string from, std::string to) {
    pendingPairs.emplace_back(std::move(from), std::move(to));
}

std::unique_ptr<RedirectFunctionCall> RedirectTable::CreatePatch() const {
    if (use64BitPatch == 0) return std::make_unique<RedirectFunctionCallWin32>();
    return std::make_unique<RedirectFunctionCallWin64>();
}

uint64_t RedirectTable::PatchLength() const {
    return use64BitPatch == 0 ? RedirectFunctionCallWin32::kPatchLength
                              : RedirectFunctionCallWin64::kPatchLength;
}

int RedirectTable::Add(uint64_t source, uint64_t target, uint32_t sourceMode, uint32_t targetMode) {
    std::unique_ptr<RedirectFunctionCall> patch = CreatePatch();
    patch->SetSource(source, sourceMode);
    patch->SetTarget(target, targetMode);

    const auto earlier = redirects.find(source);
    if (earlier != redirects.end()) {
        // A patch that stays in the code must stay in the table, or its
        // bytes would be saved as the function's own by the next one.
        if (const int error = earlier->second->Restore()) return error;
        redirects.erase(earlier);
    }
    if (source == target) return 0;
    if (const int error = patch->Apply()) return error;
    redirects.emplace(source, std::move(patch));
    return 0;
}

size_t RedirectTable::Remove(uint64_t source) {
    const auto found = redirects.find(source);
    if (found == redirects.end()) return 0;
    if (found->second->Restore() != 0) return 0;
    redirects.erase(found);
    return 1;
}

void RedirectTable::RestoreAll(const RestoreFailure& failed) {
    for (auto& [source, patch] : redirects) {
        const int error = patch->Restore();
        if (error != 0 && failed) failed(source, error);
    }
    redirects.clear();
    pendingPairs.clear();
}
