#include "DataParser_DCM.h"

#include <filesystem>
#include <iostream>
#include <memory>

#include "DataParser_VariableValue.h"
#include "DravikLauncher.h"

DatasetContent DataParser_DCM::Parse(std::string locator) { return ConvertAndRead(std::move(locator)); }

DatasetContent DataParser_DCM::ConvertAndRead(std::string locator) {
    if (RunDravik(locator) != 0) return {};

    auto reader = std::make_unique<DataParser_VariableValue>();
    DatasetContent dataset = reader->Parse(std::string("UTF-8:") + kConverterOutputFile);
    reader.reset();

    try {
        if (std::filesystem::exists(kConverterOutputFile))
            std::filesystem::remove(kConverterOutputFile);
    } catch (const std::filesystem::filesystem_error& error) {
        std::cerr << "Couldn't delete " << kConverterOutputFile
                  << ". Filesystem error: " << error.what() << std::endl;
    }
    return dataset;
}
