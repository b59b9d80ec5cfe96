#ifndef DATASET_DATA_PARSER_VARIABLE_VALUE_H
#define DATASET_DATA_PARSER_VARIABLE_VALUE_H

#include "DataParser.h"

// The two line forms of a varval file; the first line that holds a blank
// decides the form of the whole file.
enum class VarvalLineMode {
    nameValue,     // "name value": the value follows the last blank
    sevenColumns,  // "address size type bitOffset bitLength value symbol"
};

// Reads a varval file: one {name, value} entry per line, in file order.
class DataParser_VariableValue final : public DataParser {
public:
    DatasetContent Parse(std::string locator) override;
};

#endif
