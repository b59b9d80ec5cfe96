#include "DatasetBinding.h"

#include <utility>

DatasetEntryPoints datasetEntryPoints;

namespace {

// The library the current table was bound from.
platform::ModuleHandle boundModule = nullptr;

template <typename Function>
Function Bind(platform::ModuleHandle module, const char* name) {
    return reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
}

}  // namespace

platform::ModuleHandle BindDatasetLibrary(std::string path) {
    platform::ModuleHandle module = platform::LoadModule(path);
    if (module == nullptr) return nullptr;
    datasetEntryPoints.GetDataset = Bind<GetDatasetFn>(module, "GetDataset");
    datasetEntryPoints.AddDataset = Bind<AddDatasetFn>(module, "AddDataset");
    datasetEntryPoints.ClearDatasets = Bind<ClearDatasetsFn>(module, "ClearDatasets");
    datasetEntryPoints.WriteResultingDataset =
        Bind<WriteResultingDatasetFn>(module, "WriteResultingDataset");
    boundModule = module;
    return module;
}

void FreeDatasetLibrary(platform::ModuleHandle module) {
    if (module == nullptr) return;
    // Once the library may be gone nothing must call into it any more.
    if (module == boundModule) {
        datasetEntryPoints = DatasetEntryPoints();
        boundModule = nullptr;
    }
    platform::FreeModule(module);
}

bool CallGetDataset(std::string locator, DatasetContent& out) {
    if (datasetEntryPoints.GetDataset == nullptr) return false;
    datasetEntryPoints.GetDataset(std::move(locator), out);
    return true;
}

void CallAddDataset(DatasetContent dataset) {
    if (datasetEntryPoints.AddDataset != nullptr) datasetEntryPoints.AddDataset(std::move(dataset));
}

void CallClearDatasets() {
    if (datasetEntryPoints.ClearDatasets != nullptr) datasetEntryPoints.ClearDatasets();
}

void CallWriteResultingDataset(std::string path) {
    if (datasetEntryPoints.WriteResultingDataset != nullptr)
        datasetEntryPoints.WriteResultingDataset(std::move(path));
}
