#include "ScanOptions.h"

#include <cstring>

namespace {

template <typename T>
void Set(T* output, T value) {
    if (output != nullptr) *output = value;
}

}  // namespace

void ScanOptions(const char* const* arguments, uint16_t firstIndex, uint32_t* addressWidth,
                 uint8_t* noDialogs, uint32_t* packingOrder) {
    if (arguments == nullptr) return;
    // Walks from the start so that a firstIndex beyond the terminating null
    // pointer ends the scan instead of reading past the list.
    for (size_t index = 0; arguments[index] != nullptr; ++index) {
        if (index < firstIndex) continue;
        const char* argument = arguments[index];
        if (std::strcmp(argument, "--no-dialogs") == 0)
            Set<uint8_t>(noDialogs, 1);
        else if (std::strcmp(argument, "--right_to_left") == 0)
            Set<uint32_t>(packingOrder, 0);
        else if (std::strcmp(argument, "--left_to_right") == 0)
            Set<uint32_t>(packingOrder, 1);
        else if (std::strcmp(argument, "--32bit") == 0)
            Set<uint32_t>(addressWidth, 0);
        else if (std::strcmp(argument, "--64bit") == 0)
            Set<uint32_t>(addressWidth, 1);
    }
}
