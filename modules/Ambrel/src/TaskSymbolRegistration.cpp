// The task pass of symbol registration: each task's body, trigger function
// and trigger inputs become absolute addresses in the loaded vECU.

#include <optional>

#include "FmiInternalState.h"
#include "SymbolRecordText.h"
#include "SymbolRegistration.h"
#include "VirloBinding.h"
#include "platform/MemoryProtection.h"

namespace {

// The record of a text form (only its address is read) with the module base
// added.
SymbolRecord ResolveText(const std::string& text, uint64_t base) {
    SymbolRecord record;
    record.address = ReadSymbolAddressText(text) + base;
    return record;
}

// The record of a name: read from its text form when it begins with '0',
// else the symbol library's record with the module base added. Nothing when
// the name is not known.
std::optional<SymbolRecord> ResolveName(const std::string& name, uint64_t base) {
    if (IsSymbolRecordText(name)) return ResolveText(name, base);
    const SymbolRecord* found = CallGetVirlo(name);
    if (found == nullptr) return std::nullopt;
    SymbolRecord record = *found;
    record.address += base;
    return record;
}

// The record when its address lies in executable memory, else nothing: an
// address outside code (a wrong offset, or a name resolved while the vECU
// is not loaded) would crash the master at the task's first run.
std::optional<SymbolRecord> Callable(const std::optional<SymbolRecord>& record) {
    int protection = platform::ProtectionNone;
    if (record && record->address != 0 &&
        platform::QueryMemoryProtection(record->address, &protection) == 0 &&
        (protection & platform::ProtectionExecute) != 0)
        return record;
    return std::nullopt;
}

// The trigger of a task whose body is given as text may be written as a
// bare hexadecimal address too ("1a40"); a name that the library knows is
// taken first.
std::optional<SymbolRecord> ResolveTrigger(const std::string& name, bool bodyIsText,
                                           uint64_t base) {
    std::optional<SymbolRecord> trigger = Callable(ResolveName(name, base));
    if (!trigger && bodyIsText) trigger = Callable(ResolveText(name, base));
    return trigger;
}

// Found inputs fill the slots from 0 on without gaps.
void RegisterTriggerInputs(TaskRecord& record, uint64_t base) {
    uint16_t slot = 0;
    for (const std::string& name : record.triggerInputs) {
        const std::optional<SymbolRecord> input = ResolveName(name, base);
        if (!input) continue;
        record.SetTriggerInputAddress(input->address, slot);
        ++slot;
    }
}

// A task whose body (or, when triggered, trigger) is not found keeps the
// empty records of its construction and is never run.
void RegisterTask(Task& task, uint64_t base) {
    TaskRecord& record = *task.record;
    const std::optional<SymbolRecord> body = Callable(ResolveName(task.GetName(), base));
    if (!body) return;
    std::optional<SymbolRecord> trigger;
    if (task.GetKind() == TaskKind_triggered) {
        trigger = ResolveTrigger(record.functionTrigger, IsSymbolRecordText(task.GetName()), base);
        if (!trigger) return;
    }
    record.SetBodySymbol(*body);
    if (trigger) record.SetTriggerSymbol(*trigger);
    RegisterTriggerInputs(record, base);
}

}  // namespace

void RegisterTaskSymbols(FmiInternalState& instance) {
    const uint64_t base = VecuModuleBase(instance);
    for (Task& task : instance.tasks) RegisterTask(task, base);
}
