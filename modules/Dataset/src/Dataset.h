#ifndef DATASET_DATASET_H
#define DATASET_DATASET_H

#include <string>
#include <vector>

#include "DatasetTypes.h"

// The process-wide dataset store behind the library's exports: reads dataset
// files through the parser of their extension, and collects datasets to
// write their merge as one varval file.
class Dataset {
public:
    // The one object, created on first use and deleted when the library is
    // unloaded.
    static Dataset& Instance();

    virtual ~Dataset() = default;

    // The dataset that the locator names: "varval" and "dcm" files (the
    // extension's letter case ignored); anything else is an empty dataset.
    // Failures of the dcm converter's start and configuration pass out as
    // exceptions.
    virtual DatasetContent GetDataset(std::string locator);

    int AddDataset(DatasetContent dataset);
    int ClearDatasets();
    // Writes the merge of every added dataset, names in byte order, the last
    // value of a name winning, as "name value" lines.
    int WriteResultingDataset(std::string path);

    std::vector<DatasetContent> datasets;

private:
    Dataset() = default;
};

#endif
