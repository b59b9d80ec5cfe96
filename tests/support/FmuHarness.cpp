#include "FmuHarness.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace harness {

namespace fs = std::filesystem;

FmuLibrary::FmuLibrary(const std::string& path) {
    module_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module_ == nullptr) return;
#define BIND(name)                                                             \
    name = reinterpret_cast<decltype(name)>(dlsym(module_, #name));            \
    if (name != nullptr) ++boundCount_;
    BIND(fmi2GetTypesPlatform)
    BIND(fmi2GetVersion)
    BIND(fmi2SetDebugLogging)
    BIND(fmi2Instantiate)
    BIND(fmi2FreeInstance)
    BIND(fmi2SetupExperiment)
    BIND(fmi2EnterInitializationMode)
    BIND(fmi2ExitInitializationMode)
    BIND(fmi2Terminate)
    BIND(fmi2Reset)
    BIND(fmi2GetReal)
    BIND(fmi2GetInteger)
    BIND(fmi2GetBoolean)
    BIND(fmi2GetString)
    BIND(fmi2SetReal)
    BIND(fmi2SetInteger)
    BIND(fmi2SetBoolean)
    BIND(fmi2SetString)
    BIND(fmi2GetFMUstate)
    BIND(fmi2SetFMUstate)
    BIND(fmi2FreeFMUstate)
    BIND(fmi2SerializedFMUstateSize)
    BIND(fmi2SerializeFMUstate)
    BIND(fmi2DeSerializeFMUstate)
    BIND(fmi2GetDirectionalDerivative)
    BIND(fmi2SetRealInputDerivatives)
    BIND(fmi2GetRealOutputDerivatives)
    BIND(fmi2DoStep)
    BIND(fmi2CancelStep)
    BIND(fmi2GetStatus)
    BIND(fmi2GetRealStatus)
    BIND(fmi2GetIntegerStatus)
    BIND(fmi2GetBooleanStatus)
    BIND(fmi2GetStringStatus)
#undef BIND
}

FmuLibrary::~FmuLibrary() {
    if (module_ != nullptr) dlclose(module_);
}

void* FmuLibrary::Symbol(const char* name) const {
    return module_ != nullptr ? dlsym(module_, name) : nullptr;
}

FmuLibrary& Fmu() {
    static FmuLibrary library(AMBREL_LIBRARY);
    return library;
}

namespace {

void* AllocateMemory(size_t count, size_t size) { return std::calloc(count, size); }
void FreeMemory(void* memory) { std::free(memory); }

}  // namespace

MessageLog::MessageLog()
    : callbacks_{&MessageLog::Logger, &AllocateMemory, &FreeMemory, nullptr, this} {}

int MessageLog::count(const std::string& message) const {
    int found = 0;
    for (const LoggedMessage& logged : messages_) found += logged.message == message ? 1 : 0;
    return found;
}

std::string MessageLog::text() const {
    std::string all;
    for (const LoggedMessage& logged : messages_) all += logged.message + "\n";
    return all;
}

void MessageLog::Logger(fmi2ComponentEnvironment environment, fmi2String instanceName,
                        fmi2Status status, fmi2String category, fmi2String message, ...) {
    char text[16384];
    va_list arguments;
    va_start(arguments, message);
    std::vsnprintf(text, sizeof text, message, arguments);
    va_end(arguments);
    auto* log = static_cast<MessageLog*>(environment);
    // The XCP slave gets the logger without the master's environment: its
    // messages have no log to go to.
    if (log == nullptr) return;
    log->messages_.push_back({instanceName != nullptr ? instanceName : "<null>", status,
                              category != nullptr ? category : "<null>", text});
}

ResourceFolder::ResourceFolder() {
    std::string pattern = (fs::temp_directory_path() / "fmu-resources-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern + "/";
}

ResourceFolder::~ResourceFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void ResourceFolder::Write(const std::string& name, const std::string& content) const {
    const fs::path file = fs::path(path_) / name;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
}

void ResourceFolder::Copy(const std::string& source, const std::string& name) const {
    const fs::path target = fs::path(path_) / name;
    fs::create_directories(target.parent_path());
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
}

std::string ResourceFolder::Read(const std::string& name) const {
    std::ifstream in(fs::path(path_) / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool ResourceFolder::Exists(const std::string& name) const { return fs::exists(fs::path(path_) / name); }

}  // namespace harness
