// A varval dataset read into its name/value entries.

#include "DataParser_VariableValue.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput("data.varval", data, size);
    DataParser_VariableValue().Parse("UTF-8:" + path);
    return 0;
}
