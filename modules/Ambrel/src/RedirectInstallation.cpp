// Installing the redirections at instantiation and writing the code back at
// release.

#include <cinttypes>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CodePadding.h"
#include "FmiInternalState.h"
#include "RedirectFunctionCalls.h"
#include "RedirectTable.h"
#include "SymbolRecordText.h"
#include "VirloBinding.h"
#include "platform/MemoryProtection.h"

namespace {

// One word of a pair resolved: the absolute address and, when the symbol
// library gave it, the function's size (0 when not known).
struct ResolvedFunction {
    uint64_t address = 0;
    uint64_t size = 0;
};

// Code is mapped readable and executable but not writable; ECU variables,
// which instantiation makes writable and executable, are thus not taken for
// it. Saving the bytes of unmapped memory, or a jump into data, would crash
// the master.
bool IsCodePage(uint64_t address) {
    int protection = platform::ProtectionNone;
    return platform::QueryMemoryProtection(address, &protection) == 0 &&
           (protection & platform::ProtectionExecute) != 0 &&
           (protection & platform::ProtectionWrite) == 0;
}

bool LiesInCode(uint64_t address, uint64_t length) {
    return platform::IsMemoryReadable(address, length) && IsCodePage(address) &&
           IsCodePage(address + length - 1);
}

// Installs the pairs of one instance's table.
class RedirectInstaller {
public:
    using Pair = std::pair<std::string, std::string>;

    explicit RedirectInstaller(FmiInternalState& instance)
        : instance_(instance), table_(*instance.redirectTable), base_(VecuModuleBase(instance)) {}

    void InstallAll() {
        for (const Pair& pair : table_.pendingPairs) Install(pair);
    }

private:
    void Install(const Pair& pair) {
        const auto& [from, to] = pair;
        // A pair without words comes from an empty line, which the section
        // reader has reported.
        if (from.empty()) return;
        if (to.empty()) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: No replacement named for '%s'; not redirected.",
                          from.c_str());
            return;
        }
        // Text forms only when both words are; otherwise both are names.
        const bool asText = IsSymbolRecordText(from) && IsSymbolRecordText(to);
        const std::optional<ResolvedFunction> source = Resolve(from, asText);
        const std::optional<ResolvedFunction> target = Resolve(to, asText);
        if (!source)
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: '%s' names no known symbol; not redirected to '%s'.",
                          from.c_str(), to.c_str());
        if (!target)
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: Replacement '%s' names no known symbol; '%s' not "
                          "redirected.",
                          to.c_str(), from.c_str());
        if (!source || !target || source->address == 0 || target->address == 0) return;
        if (source->address != target->address) {
            // The function is judged by its own code, not by an earlier
            // patch; a later pair that is refused thus leaves it unpatched.
            table_.Remove(source->address);
            if (!IsSafeToPatch(pair, *source, *target)) return;
        }
        if (const int error = table_.Add(source->address, target->address, RedirectAddress_AsGiven,
                                         RedirectAddress_AsGiven)) {
            instance_.Log(instance_.instanceName, LogCategory_error, "error",
                          "fmi2Instantiate: Cannot make the code of '%s' writable to redirect it to "
                          "'%s': %s",
                          from.c_str(), to.c_str(), std::strerror(error));
            return;
        }
        installedBy_[source->address] = &pair;
    }

    // Nothing for a name the symbol library does not know; an address of 0
    // as the text or the symbol gives it.
    std::optional<ResolvedFunction> Resolve(const std::string& word, bool asText) const {
        ResolvedFunction function;
        if (asText) {
            function.address = ReadSymbolAddressText(word);
        } else {
            const SymbolRecord* record = CallGetVirlo(word);
            if (record == nullptr) return std::nullopt;
            function.address = record->address;
            function.size = record->size;
        }
        if (function.address != 0) function.address += base_;
        return function;
    }

    bool IsSafeToPatch(const Pair& pair, const ResolvedFunction& source, const ResolvedFunction& target) {
        const auto& [from, to] = pair;
        const uint64_t patchLength = table_.PatchLength();
        if (!LiesInCode(source.address, patchLength)) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: '%s' does not lie in code; not redirected to '%s'.",
                          from.c_str(), to.c_str());
            return false;
        }
        if (!LiesInCode(target.address, 1)) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: Replacement '%s' does not lie in code; '%s' not "
                          "redirected.",
                          to.c_str(), from.c_str());
            return false;
        }
        if (OverrunsFunction(source, patchLength)) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: '%s' (%" PRIu64 " bytes) is shorter than the %" PRIu64
                          "-byte jump to '%s' and other code follows it; not redirected.",
                          from.c_str(), source.size, patchLength, to.c_str());
            return false;
        }
        // Each patch keeps the bytes it covers; bytes that another patch has
        // already overwritten would be written back over the function.
        if (const RedirectFunctionCall* other = table_.OverlappingPatch(source.address)) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: The jump at '%s' would overlap the jump at '%s'; not "
                          "redirected to '%s'.",
                          from.c_str(), installedBy_.at(other->source)->first.c_str(), to.c_str());
            return false;
        }
        // A call of a replacement that begins inside a jump would run into
        // the middle of its instruction bytes.
        const RedirectFunctionCall* around = table_.OverlappingPatch(target.address);
        const bool insideOwnJump = target.address > source.address && target.address - source.address < patchLength;
        if (insideOwnJump || (around != nullptr && around->source < target.address)) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: The replacement '%s' begins inside the jump at '%s'; '%s' not "
                          "redirected.",
                          to.c_str(), insideOwnJump ? from.c_str() : installedBy_.at(around->source)->first.c_str(),
                          from.c_str());
            return false;
        }
        // Nor may the jump be written over the beginning of an installed
        // replacement, whose calls would then run into its middle just the
        // same; the pair installed first keeps its place.
        if (const RedirectFunctionCall* entered = table_.TargetInsideJumpAt(source.address)) {
            const Pair& installed = *installedBy_.at(entered->source);
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: The jump at '%s' would cover the beginning of the "
                          "replacement '%s' of '%s'; not redirected to '%s'.",
                          from.c_str(), installed.second.c_str(), installed.first.c_str(), to.c_str());
            return false;
        }
        const std::vector<const RedirectFunctionCall*> path =
            table_.PathBack(source.address, target.address);
        if (!path.empty()) {
            instance_.Log(instance_.instanceName, LogCategory_warning, "warning",
                          "fmi2Instantiate: Redirecting '%s' to '%s' would make its calls loop for "
                          "ever (%s); not redirected.",
                          from.c_str(), to.c_str(), LoopText(pair, path).c_str());
            return false;
        }
        return true;
    }

    // The loop as the pairs name it, from the function to redirect round to
    // it again: "A -> B -> A".
    std::string LoopText(const Pair& pair, const std::vector<const RedirectFunctionCall*>& path) const {
        std::string text = pair.first + " -> " + pair.second;
        for (const RedirectFunctionCall* patch : path)
            text += " -> " + installedBy_.at(patch->source)->second;
        return text;
    }

    // True when the patch would reach past the function's end into bytes
    // that are not padding, that is into the code of another function. A
    // function of unknown size is taken as long enough.
    static bool OverrunsFunction(const ResolvedFunction& function, uint64_t patchLength) {
        if (function.size == 0 || function.size >= patchLength) return false;
        const uint64_t end = function.address + function.size;
        const uint64_t overrun = patchLength - function.size;
        // A multi-byte nop may reach past the patch; it is padding only when
        // it ends before other code begins.
        uint64_t available = overrun + kLongestInstruction;
        if (!platform::IsMemoryReadable(end, available)) available = overrun;
        return PaddingLength(reinterpret_cast<const uint8_t*>(end), available) < overrun;
    }

    FmiInternalState& instance_;
    RedirectTable& table_;
    const uint64_t base_;
    // The pair that installed the patch now at each address, whose words
    // name it in messages.
    std::map<uint64_t, const Pair*> installedBy_;
};

}  // namespace

void InstallRedirects(FmiInternalState& instance) {
    if (instance.redirectTable == nullptr) return;
    RedirectInstaller(instance).InstallAll();
}

bool RestoreRedirects(FmiInternalState& instance, const char* function) {
    if (instance.redirectTable == nullptr) return true;
    bool restored = true;
    instance.redirectTable->RestoreAll([&](uint64_t source, int error) {
        instance.Log(instance.instanceName, LogCategory_error, "error",
                     "%s: Cannot write back the code at 0x%" PRIx64 ": %s", function, source,
                     std::strerror(error));
        restored = false;
    });
    instance.redirectTable.reset();
    return restored;
}
