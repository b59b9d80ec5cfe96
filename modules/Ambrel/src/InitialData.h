#ifndef AMBREL_INITIAL_DATA_H
#define AMBREL_INITIAL_DATA_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Collects the dataset locators of the InitialData section; 0.
int32_t ReadInitialDataSection(FmiInternalState& instance, const std::string& folder,
                               const std::string& instanceName);

// Writes the values of every InitialData dataset into ECU memory; 0 on success.
int32_t ApplyInitialData(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

#endif
