#ifndef AMBREL_DATASET_BINDING_H
#define AMBREL_DATASET_BINDING_H

// The runtime's side of the dataset library: loading it, the table of its
// entry points and one wrapper per entry point. An entry point that is not
// bound (library missing or unloaded, export missing) is skipped by its
// wrapper, so nothing ever calls through a null or stale pointer.

#include <string>

#include "DatasetInterface.h"
#include "platform/Module.h"

// File name of the dataset library in the resource folder.
inline constexpr const char* kDatasetLibraryName = "Dataset.so";

// The bound exports of the dataset library, in binding order; all null while
// no library is bound.
struct DatasetEntryPoints {
    GetDatasetFn GetDataset = nullptr;
    AddDatasetFn AddDataset = nullptr;
    ClearDatasetsFn ClearDatasets = nullptr;
    WriteResultingDatasetFn WriteResultingDataset = nullptr;
};

// Process-wide; cleared when the library they were bound from is freed.
extern DatasetEntryPoints datasetEntryPoints;

// Loads the library and binds its four exports by name (a missing one stays
// null); null, without a message, when the library can't be loaded.
platform::ModuleHandle BindDatasetLibrary(std::string path);

// Unloads the library and clears the table; a null handle is ignored.
void FreeDatasetLibrary(platform::ModuleHandle module);

// Replaces out with the dataset that the locator names. Exceptions of the
// library (the dcm converter, its configuration) pass through. False when
// GetDataset is not bound.
bool CallGetDataset(std::string locator, DatasetContent& out);
void CallAddDataset(DatasetContent dataset);
void CallClearDatasets();
void CallWriteResultingDataset(std::string path);

#endif
