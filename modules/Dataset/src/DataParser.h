#ifndef DATASET_DATA_PARSER_H
#define DATASET_DATA_PARSER_H

#include <string>

#include "DatasetTypes.h"

// A reader of one kind of dataset file. A parser object serves one Parse call.
class DataParser {
public:
    // The dataset that the locator ("encoding:path") names; empty when the
    // file can't be read.
    virtual DatasetContent Parse(std::string locator) = 0;
    virtual ~DataParser() = default;
};

#endif
