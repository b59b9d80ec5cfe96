#include "Dataset.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <memory>

#include "DataParser_DCM.h"
#include "DataParser_VariableValue.h"
#include "VarvalLineBuffer.h"

namespace {

Dataset* datasetInstance = nullptr;

// Deletes the store when the library is unloaded (static destructors run at
// unload), so a later load starts with an empty one.
struct DatasetInstanceRelease {
    ~DatasetInstanceRelease() {
        delete datasetInstance;
        datasetInstance = nullptr;
    }
};

std::string LoweredExtension(const std::string& locator) {
    std::string extension = locator.substr(locator.rfind('.') + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::unique_ptr<DataParser> ParserForExtension(const std::string& extension) {
    if (extension == "varval") return std::make_unique<DataParser_VariableValue>();
    if (extension == "dcm") return std::make_unique<DataParser_DCM>();
    return nullptr;
}

void WriteMergedLine(std::FILE* file, const std::string& name, const std::string& value) {
    const int length = std::snprintf(varvalLineBuffer, kVarvalLineBufferSize, "%s %s\n",
                                     name.c_str(), value.c_str());
    if (length < 0) return;
    if (static_cast<std::size_t>(length) < kVarvalLineBufferSize) {
        std::fwrite(varvalLineBuffer, 1, static_cast<std::size_t>(length), file);
        return;
    }
    // Too long for the buffer: written piece by piece rather than cut, so the
    // file never holds a value that was not in the datasets.
    std::fwrite(name.data(), 1, name.size(), file);
    std::fputc(' ', file);
    std::fwrite(value.data(), 1, value.size(), file);
    std::fputc('\n', file);
}

}  // namespace

Dataset& Dataset::Instance() {
    static DatasetInstanceRelease release;
    if (datasetInstance == nullptr) datasetInstance = new Dataset;
    return *datasetInstance;
}

DatasetContent Dataset::GetDataset(std::string locator) {
    if (locator.find('.') == std::string::npos) return {};
    std::unique_ptr<DataParser> parser = ParserForExtension(LoweredExtension(locator));
    if (!parser) return {};
    return parser->Parse(locator);
}

int Dataset::AddDataset(DatasetContent dataset) {
    datasets.push_back(std::move(dataset));
    return 0;
}

int Dataset::ClearDatasets() {
    datasets.clear();
    return 0;
}

int Dataset::WriteResultingDataset(std::string path) {
    std::map<std::string, std::string> merged;
    for (const DatasetContent& dataset : datasets)
        for (const DatasetEntry& entry : dataset) merged[entry.first] = entry.second;

    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return 0;
    for (const auto& [name, value] : merged) WriteMergedLine(file, name, value);
    std::fclose(file);
    return 0;
}
