#ifndef DATASET_INTERFACE_H
#define DATASET_INTERFACE_H

// The exports of the dataset library. Arguments cross as standard-library
// objects; both sides share one C++ runtime and heap.

#include <string>

#include "DatasetTypes.h"

using GetDatasetFn = int (*)(std::string locator, DatasetContent& out);
using AddDatasetFn = int (*)(DatasetContent dataset);
using ClearDatasetsFn = int (*)();
using WriteResultingDatasetFn = int (*)(std::string path);

#endif
