#ifndef DATASET_DATA_PARSER_DCM_H
#define DATASET_DATA_PARSER_DCM_H

#include "DataParser.h"

// Reads a dcm file through the outside converter, which leaves the dataset
// as output.varval in the current directory.
class DataParser_DCM final : public DataParser {
public:
    DatasetContent Parse(std::string locator) override;

    // Runs the converter, reads and removes its output; an empty dataset when
    // the converter fails.
    static DatasetContent ConvertAndRead(std::string locator);
};

// The converter's output, relative to the current directory.
inline constexpr const char* kConverterOutputFile = "output.varval";

#endif
