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

const RedirectFunctionCall* RedirectTable::OverlappingPatch(uint64_t address) const {
    const uint64_t length = PatchLength();
    const uint64_t lowest = address < length ? 0 : address - (length - 1);
    // The nearest patch at or above lowest overlaps if any does.
    const auto nearest = redirects.lower_bound(lowest);
    if (nearest == redirects.end()) return nullptr;
    const uint64_t distance = nearest->first > address ? nearest->first - address : address - nearest->first;
    return distance < length ? nearest->second.get() : nullptr;
}

std::vector<const RedirectFunctionCall*> RedirectTable::PathBack(uint64_t source, uint64_t target) const {
    std::vector<const RedirectFunctionCall*> path;
    uint64_t at = target;
    // Each patch is passed at most once unless the installed patches loop
    // among themselves, which must not keep this walk from ending.
    while (at != source && path.size() < redirects.size()) {
        const auto next = redirects.find(at);
        if (next == redirects.end()) return {};
        path.push_back(next->second.get());
        at = next->second->target;
    }
    if (at != source) return {};
    return path;
}

const RedirectFunctionCall* RedirectTable::TargetInsideJumpAt(uint64_t address) const {
    const uint64_t length = PatchLength();
    for (const auto& entry : redirects) {
        const uint64_t target = entry.second->target;
        if (target > address && target - address < length) return entry.second.get();
    }
    return nullptr;
}
