#ifndef DBGHELP_PE_IMAGE_H
#define DBGHELP_PE_IMAGE_H

#include <array>
#include <cstdint>
#include <string>

namespace dbghelp {

// What the symbol handler needs from a PE image file: where the image wants
// to be loaded, how large it is, and which PDB it was linked with.
struct PeImageFacts {
    uint64_t preferredBase = 0;
    uint32_t imageSize = 0;
    // From the image's CodeView debug entry ("RSDS"); a PDB matches the image
    // only when its GUID and age are these.
    bool hasPdbSignature = false;
    std::array<uint8_t, 16> pdbGuid{};
    uint32_t pdbAge = 0;
};

// Reads the headers of a PE32 or PE32+ file; false when the file cannot be
// read or is no PE image.
bool ReadPeImage(const std::string& path, PeImageFacts& facts);

}  // namespace dbghelp

#endif
