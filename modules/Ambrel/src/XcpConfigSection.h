#ifndef AMBREL_XCP_CONFIG_SECTION_H
#define AMBREL_XCP_CONFIG_SECTION_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Collects the entries of the XcpConfig section into xcpConfigLines for the
// XCP slave. Every entry must hold text, except the sixth (the DAQ list)
// when the fourth turns dynamic DAQ on. 0, or 1 (with the error logged) to
// fail the instantiation.
int32_t ReadXcpConfigSection(FmiInternalState& instance, const std::string& folder,
                             const std::string& instanceName);

#endif
