#ifndef TESTS_AMBREL_VARIABLE_TEST_SUPPORT_H
#define TESTS_AMBREL_VARIABLE_TEST_SUPPORT_H

// What the variable-access tests share: an instance whose master logger
// keeps every message, and the stand-in symbol library.

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "FmiInternalState.h"
#include "StubVirloCalls.h"
#include "SymbolRecord.h"
#include "platform/Module.h"

namespace variable_test {

struct Message {
    std::string instanceName;
    fmi2Status status;
    std::string category;
    std::string text;
};

// An instance record with a logger that formats like a master does.
class LoggingInstance {
public:
    LoggingInstance() {
        instance.instanceName = "vecu";
        instance.callbackFunctions = &callbacks_;
    }
    LoggingInstance(const LoggingInstance&) = delete;
    LoggingInstance& operator=(const LoggingInstance&) = delete;

    FmiInternalState instance;
    std::vector<Message> messages;

private:
    static void Logger(fmi2ComponentEnvironment environment, fmi2String instanceName, fmi2Status status,
                       fmi2String category, fmi2String message, ...) {
        char text[8192];
        va_list arguments;
        va_start(arguments, message);
        std::vsnprintf(text, sizeof text, message, arguments);
        va_end(arguments);
        static_cast<LoggingInstance*>(environment)->messages.push_back({instanceName, status, category, text});
    }

    fmi2CallbackFunctions callbacks_{&Logger, nullptr, nullptr, nullptr, this};
};

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
