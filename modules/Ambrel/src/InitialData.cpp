#include "InitialData.h"

#include <cinttypes>
#include <exception>

#include "DatasetBinding.h"
#include "FmiInternalState.h"
#include "InitialDataValue.h"
#include "ResourcesFile.h"
#include "SymbolRecordText.h"
#include "VirloBinding.h"
#include "platform/MemoryProtection.h"

namespace {

// Result of a dataset that could not be read because the library failed
// (the dcm converter could not be started, its configuration is broken).
constexpr int32_t kDatasetReadFailed = 3;

// The first blank-separated word of an entry line; the rest is a comment.
std::string FirstWord(const std::string& text) {
    const std::string::size_type start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find(' ', start) - start);
}

// The locator of an entry "encoding:path": the path taken inside the
// resource folder. An entry without ':' serves as encoding and path.
std::string DatasetLocatorOf(const std::string& entry, const std::string& folder) {
    const std::string::size_type colon = entry.find(':');
    if (colon == std::string::npos) return entry + ":" + folder + entry;
    return entry.substr(0, colon) + ":" + folder + entry.substr(colon + 1);
}

// True when every page of the range may be written.
bool IsWritable(uint64_t address, uint64_t size) {
    int first = platform::ProtectionNone;
    int last = platform::ProtectionNone;
    return platform::QueryMemoryProtection(address, &first) == 0 &&
           platform::QueryMemoryProtection(address + size - 1, &last) == 0 &&
           (first & platform::ProtectionWrite) != 0 && (last & platform::ProtectionWrite) != 0;
}

// Writes the datasets of one instance; one object per ApplyInitialData call.
class InitialDataWriter {
public:
    InitialDataWriter(FmiInternalState& instance, const std::string& instanceName)
        : instance_(instance), instanceName_(instanceName), base_(VecuModuleBase(instance)) {}

    void WriteDataset(const std::string& locator) {
        try {
            CallGetDataset(locator, dataset_);
        } catch (const std::exception& failure) {
            ReportReadFailure(locator, failure.what());
            return;
        } catch (...) {
            ReportReadFailure(locator, "unknown exception");
            return;
        }
        for (const DatasetEntry& entry : dataset_) WriteEntry(entry.first, entry.second);
    }

    int32_t result() const { return result_; }

private:
    void ReportReadFailure(const std::string& locator, const char* reason) {
        instance_.Log(instanceName_, LogCategory_error, "error",
                      "fmi2Instantiate: Cannot read the dataset '%s': %s", locator.c_str(), reason);
        result_ = kDatasetReadFailed;
    }

    // The record an entry names: its text form, or a symbol the symbol
    // library knows. Each entry starts from a fresh record, so nothing of an
    // earlier entry is ever written again.
    bool Resolve(const std::string& name, SymbolRecord& record) {
        if (IsSymbolRecordText(name)) {
            if (ReadDatasetRecordText(name, record)) return true;
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "fmi2Instantiate: Dataset entry '%s' is no valid symbol record; not written.",
                          name.c_str());
            return false;
        }
        if (const SymbolRecord* found = CallGetVirlo(name)) {
            record = *found;
            return true;
        }
        instance_.Log(instanceName_, LogCategory_warning, "warning",
                      "fmi2Instantiate: Dataset entry '%s' names no known symbol; not written.", name.c_str());
        return false;
    }

    void WriteEntry(const std::string& name, const std::string& value) {
        SymbolRecord record;
        if (!Resolve(name, record)) return;
        const uint64_t address = base_ + record.address;

        if (record.size > 0) {
            const int error = platform::SetMemoryProtection(address, record.size,
                                                            platform::ProtectionReadWriteExecute);
            if (error != 0) {
                // Writing into memory that could not be opened would crash.
                instance_.Log(instanceName_, LogCategory_error, "error",
                              "fmi2Instantiate: Cannot make dataset entry '%s' writable (error %d).",
                              name.c_str(), error);
                result_ = error;
                return;
            }
        }

        switch (InitialValueKindOf(record)) {
            case InitialValueKind::noValue:
                return;
            case InitialValueKind::unknownEnumerationSize:
                // The whole address: cutting it to 32 bits would name another place.
                instance_.Log(instanceName_, LogCategory_error, "error",
                              "fmi2Instantiate: Unknown symbol type for index %" PRIx64 ".", address);
                result_ = 1;
                return;
            case InitialValueKind::unknownType:
                instance_.Log(instanceName_, LogCategory_error, "error",
                              "fmi2Instantiate: Unknown symbol type for index %p.",
                              reinterpret_cast<void*>(address));
                result_ = 2;
                return;
            default:
                break;
        }

        // A record shorter than its type was not opened for the whole value.
        const uint64_t width = InitialValueWidth(record);
        if (record.size < width && !IsWritable(address, width)) {
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "fmi2Instantiate: Dataset entry '%s' lies in memory that cannot be written; "
                          "not written.",
                          name.c_str());
            return;
        }
        if (!WriteInitialValue(address, record, value, instance_.bitfieldPackingOrder))
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "fmi2Instantiate: Value '%s' of dataset entry '%s' does not fit its type; "
                          "not written.",
                          value.c_str(), name.c_str());
    }

    FmiInternalState& instance_;
    const std::string& instanceName_;
    const uint64_t base_;
    DatasetContent dataset_;
    int32_t result_ = 0;
};

}  // namespace

int32_t ReadInitialDataSection(FmiInternalState& instance, const std::string& folder,
                               const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    ReadSectionEntries(in, "InitialData", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty())
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "'resources/resources.txt' line %d is empty! File name(s) expected.",
                         static_cast<int>(lineNumber));
        instance.initialDataEntries.push_back(FirstWord(entry));
        return true;
    });
    return 0;
}

int32_t ApplyInitialData(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName) {
    const std::string libraryPath = folder + kDatasetLibraryName;
    platform::ModuleHandle library = BindDatasetLibrary(libraryPath);

    InitialDataWriter writer(instance, instanceName);
    if (!instance.initialDataEntries.empty()) {
        if (library == nullptr || datasetEntryPoints.GetDataset == nullptr) {
            instance.Log(instanceName, LogCategory_error, "error",
                         "fmi2Instantiate: '%s' %s; no initial data written.", libraryPath.c_str(),
                         library == nullptr ? "cannot be loaded" : "exports no GetDataset");
        } else {
            for (const std::string& entry : instance.initialDataEntries)
                writer.WriteDataset(DatasetLocatorOf(entry, folder));
        }
    }

    FreeDatasetLibrary(library);
    return writer.result();
}
