#ifndef DATASET_TYPES_H
#define DATASET_TYPES_H

#include <string>
#include <utility>
#include <vector>

// One calibration value: {name, value}, both as text.
using DatasetEntry = std::pair<std::string, std::string>;

// The entries of one dataset in reading order, duplicates allowed.
using DatasetContent = std::vector<DatasetEntry>;

#endif
