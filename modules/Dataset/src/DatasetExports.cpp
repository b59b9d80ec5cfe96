// The library's exports: undecorated names, standard-library arguments (the
// caller shares this library's runtime and heap). Each returns 0; exceptions
// of the dcm road pass out to the caller.

#include <string>
#include <type_traits>

#include "Dataset.h"
#include "DatasetInterface.h"

#define DATASET_EXPORT __attribute__((visibility("default")))

extern "C" {

DATASET_EXPORT int GetDataset(std::string locator, DatasetContent& out) {
    out = Dataset::Instance().GetDataset(std::move(locator));
    return 0;
}

DATASET_EXPORT int AddDataset(DatasetContent dataset) {
    return Dataset::Instance().AddDataset(std::move(dataset));
}

DATASET_EXPORT int ClearDatasets() { return Dataset::Instance().ClearDatasets(); }

DATASET_EXPORT int WriteResultingDataset(std::string path) {
    return Dataset::Instance().WriteResultingDataset(std::move(path));
}
}

// The exports must keep the types that the runtime binds them with.
static_assert(std::is_same_v<decltype(&GetDataset), GetDatasetFn>);
static_assert(std::is_same_v<decltype(&AddDataset), AddDatasetFn>);
static_assert(std::is_same_v<decltype(&ClearDatasets), ClearDatasetsFn>);
static_assert(std::is_same_v<decltype(&WriteResultingDataset), WriteResultingDatasetFn>);
