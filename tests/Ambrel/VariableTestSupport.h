#ifndef TESTS_AMBREL_VARIABLE_TEST_SUPPORT_H
#define TESTS_AMBREL_VARIABLE_TEST_SUPPORT_H

// What the variable-access tests share: the stand-in symbol library.

#include <string>

#include "StubVirloCalls.h"
#include "SymbolRecord.h"
#include "platform/Module.h"

namespace variable_test {

// The stand-in symbol library, held open by the test itself so that its
// records and call counts stay readable after the runtime unloads it.
class StubVirlo {
public:
    explicit StubVirlo(const std::string& path) : path_(path), module_(platform::LoadModule(path)) {
        add_ = reinterpret_cast<AddFn>(platform::FindModuleSymbol(module_, "StubVirloAdd"));
        calls_ = reinterpret_cast<CallsFn>(platform::FindModuleSymbol(module_, "StubVirloCalls"));
        reset_ = reinterpret_cast<ResetFn>(platform::FindModuleSymbol(module_, "StubVirloReset"));
        if (reset_ != nullptr) reset_();
    }
    ~StubVirlo() { platform::FreeModule(module_); }
    StubVirlo(const StubVirlo&) = delete;
    StubVirlo& operator=(const StubVirlo&) = delete;

    bool loaded() const { return add_ != nullptr && calls_ != nullptr && reset_ != nullptr; }
    const std::string& path() const { return path_; }
    void Add(const std::string& name, const SymbolRecord& record) { add_(name.c_str(), &record); }
    const StubVirloCalls& calls() const { return *calls_(); }

private:
    using AddFn = void (*)(const char*, const SymbolRecord*);
    using CallsFn = const StubVirloCalls* (*)();
    using ResetFn = void (*)();

    std::string path_;
    platform::ModuleHandle module_;
    AddFn add_ = nullptr;
    CallsFn calls_ = nullptr;
    ResetFn reset_ = nullptr;
};

}  // namespace variable_test

#endif
