#include "FuzzInput.h"

namespace fuzz {

harness::ResourceFolder& Folder() {
    static harness::ResourceFolder folder;
    return folder;
}

std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) {
    Folder().Write(name, std::string(reinterpret_cast<const char*>(data), size));
    return Folder().path() + name;
}

}  // namespace fuzz
