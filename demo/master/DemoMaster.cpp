// An example co-simulation master: unpacks an FMU, loads its binary, reads
// the variables from modelDescription.xml and runs ten steps of 10 ms,
// printing every variable after each step.
//
// usage: DemoMaster <file.fmu>

#include <dlfcn.h>
#include <stdlib.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "fmi2/fmi2FunctionTypes.h"

namespace fs = std::filesystem;

namespace {

struct Variable {
    std::string name;
    fmi2ValueReference valueReference = 0;
    std::string type;  // "Real", "Integer" or "Boolean"
    std::string causality;
};

// The text of attribute `name` inside one XML element, or "".
std::string Attribute(const std::string& element, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const std::size_t start = element.find(key);
    if (start == std::string::npos) return "";
    const std::size_t valueStart = start + key.size();
    return element.substr(valueStart, element.find('"', valueStart) - valueStart);
}

// A plain text scan of the model description: the GUID and the scalar
// variables with their type element.
bool ReadModelDescription(const fs::path& file, std::string& guid, std::vector<Variable>& variables) {
    std::ifstream in(file);
    std::stringstream content;
    content << in.rdbuf();
    const std::string xml = content.str();
    const std::size_t root = xml.find("<fmiModelDescription");
    if (root == std::string::npos) return false;
    guid = Attribute(xml.substr(root, xml.find('>', root) - root), "guid");
    for (std::size_t at = xml.find("<ScalarVariable", root); at != std::string::npos;
         at = xml.find("<ScalarVariable", at + 1)) {
        const std::size_t end = xml.find("</ScalarVariable>", at);
        const std::string element = xml.substr(at, end - at);
        Variable variable;
        variable.name = Attribute(element, "name");
        variable.valueReference =
            static_cast<fmi2ValueReference>(std::stoul(Attribute(element, "valueReference")));
        variable.causality = Attribute(element, "causality");
        for (const char* type : {"Real", "Integer", "Boolean"})
            if (element.find(std::string("<") + type) != std::string::npos) variable.type = type;
        variables.push_back(variable);
    }
    return !guid.empty() && !variables.empty();
}

void Logger(fmi2ComponentEnvironment, fmi2String instanceName, fmi2Status status, fmi2String category,
            fmi2String message, ...) {
    char text[4096];
    va_list arguments;
    va_start(arguments, message);
    std::vsnprintf(text, sizeof text, message, arguments);
    va_end(arguments);
    std::printf("[%s] %s (status %d): %s\n", instanceName, category, static_cast<int>(status), text);
}

// The FMU's binary with the functions this master uses.
struct FmuBinary {
    void* module = nullptr;
    fmi2InstantiateTYPE* instantiate = nullptr;
    fmi2SetupExperimentTYPE* setupExperiment = nullptr;
    fmi2EnterInitializationModeTYPE* enterInitializationMode = nullptr;
    fmi2ExitInitializationModeTYPE* exitInitializationMode = nullptr;
    fmi2DoStepTYPE* doStep = nullptr;
    fmi2GetRealTYPE* getReal = nullptr;
    fmi2GetIntegerTYPE* getInteger = nullptr;
    fmi2GetBooleanTYPE* getBoolean = nullptr;
    fmi2SetBooleanTYPE* setBoolean = nullptr;
    fmi2TerminateTYPE* terminate = nullptr;
    fmi2FreeInstanceTYPE* freeInstance = nullptr;

    template <typename Function>
    bool Bind(Function*& function, const char* name) {
        function = reinterpret_cast<Function*>(dlsym(module, name));
        if (function == nullptr) std::cerr << "missing function " << name << "\n";
        return function != nullptr;
    }

    bool Load(const fs::path& path) {
        module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            std::cerr << "cannot load " << path << ": " << dlerror() << "\n";
            return false;
        }
        return Bind(instantiate, "fmi2Instantiate") && Bind(setupExperiment, "fmi2SetupExperiment") &&
               Bind(enterInitializationMode, "fmi2EnterInitializationMode") &&
               Bind(exitInitializationMode, "fmi2ExitInitializationMode") &&
               Bind(doStep, "fmi2DoStep") && Bind(getReal, "fmi2GetReal") &&
               Bind(getInteger, "fmi2GetInteger") && Bind(getBoolean, "fmi2GetBoolean") &&
               Bind(setBoolean, "fmi2SetBoolean") && Bind(terminate, "fmi2Terminate") &&
               Bind(freeInstance, "fmi2FreeInstance");
    }

    ~FmuBinary() {
        if (module != nullptr) dlclose(module);
    }
};

// A temporary folder, removed with the object.
struct TemporaryFolder {
    fs::path path;
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "demo-fmu-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path.empty()) fs::remove_all(path, ignored);
    }
};

void PrintValues(FmuBinary& fmu, fmi2Component c, double time, const std::vector<Variable>& variables) {
    std::printf("t = %.2f s", time);
    for (const Variable& variable : variables) {
        const fmi2ValueReference vr[] = {variable.valueReference};
        if (variable.type == "Real") {
            fmi2Real value = 0;
            fmu.getReal(c, vr, 1, &value);
            std::printf("  %s = %.3f", variable.name.c_str(), value);
        } else if (variable.type == "Integer") {
            fmi2Integer value = 0;
            fmu.getInteger(c, vr, 1, &value);
            std::printf("  %s = %d", variable.name.c_str(), value);
        } else if (variable.type == "Boolean") {
            fmi2Boolean value = 0;
            fmu.getBoolean(c, vr, 1, &value);
            std::printf("  %s = %s", variable.name.c_str(), value ? "true" : "false");
        }
    }
    std::printf("\n");
}

int Run(const fs::path& fmuFile) {
    TemporaryFolder unpacked;
    if (unpacked.path.empty()) return 2;
    const std::string unzip = "unzip -q -o '" + fmuFile.string() + "' -d '" + unpacked.path.string() + "'";
    if (std::system(unzip.c_str()) != 0) {
        std::cerr << "cannot unpack " << fmuFile << "\n";
        return 2;
    }

    std::string guid;
    std::vector<Variable> variables;
    if (!ReadModelDescription(unpacked.path / "modelDescription.xml", guid, variables)) {
        std::cerr << "cannot read modelDescription.xml\n";
        return 2;
    }

    FmuBinary fmu;
    if (!fmu.Load(unpacked.path / "binaries" / "linux64" / "Ambrel.so")) return 2;

    const fmi2CallbackFunctions callbacks{Logger, calloc, free, nullptr, nullptr};
    const std::string resources = "file://" + (unpacked.path / "resources").string();
    fmi2Component c = fmu.instantiate("SampleEcu", fmi2CoSimulation, guid.c_str(), resources.c_str(),
                                      &callbacks, fmi2False, fmi2False);
    if (c == nullptr) {
        std::cerr << "fmi2Instantiate failed\n";
        return 1;
    }

    const double stepSize = 0.01;
    bool ok = fmu.setupExperiment(c, fmi2False, 0.0, 0.0, fmi2True, 10 * stepSize) == fmi2OK &&
              fmu.enterInitializationMode(c) == fmi2OK && fmu.exitInitializationMode(c) == fmi2OK;
    if (ok) PrintValues(fmu, c, 0.0, variables);
    for (int step = 0; ok && step < 10; ++step) {
        // Press the brake for the second half of the run.
        if (step == 5)
            for (const Variable& variable : variables)
                if (variable.type == "Boolean" && variable.causality == "input") {
                    const fmi2ValueReference vr[] = {variable.valueReference};
                    const fmi2Boolean pressed[] = {fmi2True};
                    ok = fmu.setBoolean(c, vr, 1, pressed) == fmi2OK;
                }
        ok = ok && fmu.doStep(c, step * stepSize, stepSize, fmi2True) == fmi2OK;
        if (ok) PrintValues(fmu, c, (step + 1) * stepSize, variables);
    }
    ok = fmu.terminate(c) == fmi2OK && ok;
    fmu.freeInstance(c);
    if (!ok) std::cerr << "the simulation failed\n";
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <file.fmu>\n";
        return 2;
    }
    return Run(fs::absolute(argv[1]));
}
