#ifndef TESTS_FMU_HARNESS_H
#define TESTS_FMU_HARNESS_H

// What a co-simulation master does with an FMU, for end-to-end tests: load
// the built runtime with dlopen, bind the 34 functions by name, lay out a
// resource folder and collect what the runtime logs.

#include <string>
#include <vector>

#include "fmi2/fmi2FunctionTypes.h"

namespace harness {

// The runtime library, loaded and bound like a master binds it.
class FmuLibrary {
public:
    explicit FmuLibrary(const std::string& path);
    ~FmuLibrary();
    FmuLibrary(const FmuLibrary&) = delete;
    FmuLibrary& operator=(const FmuLibrary&) = delete;

    bool loaded() const { return module_ != nullptr; }
    // Any exported function by name (null when missing).
    void* Symbol(const char* name) const;

    fmi2GetTypesPlatformTYPE* fmi2GetTypesPlatform = nullptr;
    fmi2GetVersionTYPE* fmi2GetVersion = nullptr;
    fmi2SetDebugLoggingTYPE* fmi2SetDebugLogging = nullptr;
    fmi2InstantiateTYPE* fmi2Instantiate = nullptr;
    fmi2FreeInstanceTYPE* fmi2FreeInstance = nullptr;
    fmi2SetupExperimentTYPE* fmi2SetupExperiment = nullptr;
    fmi2EnterInitializationModeTYPE* fmi2EnterInitializationMode = nullptr;
    fmi2ExitInitializationModeTYPE* fmi2ExitInitializationMode = nullptr;
    fmi2TerminateTYPE* fmi2Terminate = nullptr;
    fmi2ResetTYPE* fmi2Reset = nullptr;
    fmi2GetRealTYPE* fmi2GetReal = nullptr;
    fmi2GetIntegerTYPE* fmi2GetInteger = nullptr;
    fmi2GetBooleanTYPE* fmi2GetBoolean = nullptr;
    fmi2GetStringTYPE* fmi2GetString = nullptr;
    fmi2SetRealTYPE* fmi2SetReal = nullptr;
    fmi2SetIntegerTYPE* fmi2SetInteger = nullptr;
    fmi2SetBooleanTYPE* fmi2SetBoolean = nullptr;
    fmi2SetStringTYPE* fmi2SetString = nullptr;
    fmi2GetFMUstateTYPE* fmi2GetFMUstate = nullptr;
    fmi2SetFMUstateTYPE* fmi2SetFMUstate = nullptr;
    fmi2FreeFMUstateTYPE* fmi2FreeFMUstate = nullptr;
    fmi2SerializedFMUstateSizeTYPE* fmi2SerializedFMUstateSize = nullptr;
    fmi2SerializeFMUstateTYPE* fmi2SerializeFMUstate = nullptr;
    fmi2DeSerializeFMUstateTYPE* fmi2DeSerializeFMUstate = nullptr;
    fmi2GetDirectionalDerivativeTYPE* fmi2GetDirectionalDerivative = nullptr;
    fmi2SetRealInputDerivativesTYPE* fmi2SetRealInputDerivatives = nullptr;
    fmi2GetRealOutputDerivativesTYPE* fmi2GetRealOutputDerivatives = nullptr;
    fmi2DoStepTYPE* fmi2DoStep = nullptr;
    fmi2CancelStepTYPE* fmi2CancelStep = nullptr;
    fmi2GetStatusTYPE* fmi2GetStatus = nullptr;
    fmi2GetRealStatusTYPE* fmi2GetRealStatus = nullptr;
    fmi2GetIntegerStatusTYPE* fmi2GetIntegerStatus = nullptr;
    fmi2GetBooleanStatusTYPE* fmi2GetBooleanStatus = nullptr;
    fmi2GetStringStatusTYPE* fmi2GetStringStatus = nullptr;

    // Number of the 34 functions that were found.
    int boundCount() const { return boundCount_; }

private:
    void* module_ = nullptr;
    int boundCount_ = 0;
};

// The built runtime, loaded once for the whole test program.
FmuLibrary& Fmu();

struct LoggedMessage {
    std::string instanceName;
    fmi2Status status;
    std::string category;
    std::string message;  // formatted as a master formats it
};

// The master's side of logging: a callback record whose logger formats
// each message and keeps it.
class MessageLog {
public:
    MessageLog();
    const fmi2CallbackFunctions* callbacks() const { return &callbacks_; }
    const std::vector<LoggedMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }
    // Number of messages whose text equals the given one.
    int count(const std::string& message) const;
    bool contains(const std::string& message) const { return count(message) > 0; }
    // Every message's text, each ended by a line break: for failure output
    // and for comparing the whole log at once.
    std::string text() const;

private:
    static void Logger(fmi2ComponentEnvironment environment, fmi2String instanceName,
                       fmi2Status status, fmi2String category, fmi2String message, ...);

    fmi2CallbackFunctions callbacks_;
    std::vector<LoggedMessage> messages_;
};

// A fresh temporary folder that plays the FMU's resources folder; removed
// with the object.
class ResourceFolder {
public:
    ResourceFolder();
    ~ResourceFolder();
    ResourceFolder(const ResourceFolder&) = delete;
    ResourceFolder& operator=(const ResourceFolder&) = delete;

    // The folder path, ending in '/'.
    const std::string& path() const { return path_; }
    // The resource location a master passes: "file://" + path.
    std::string uri() const { return "file://" + path_; }
    // Writes a file of the folder (sub-folders are created).
    void Write(const std::string& name, const std::string& content) const;
    // Copies a file into the folder under the given name.
    void Copy(const std::string& source, const std::string& name) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace harness

#endif
