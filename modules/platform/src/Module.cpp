#include "platform/Module.h"

#include <dlfcn.h>
#include <link.h>

namespace platform {

ModuleHandle LoadModule(const std::string& path) {
    if (path.empty()) return nullptr;
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindModuleSymbol(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) return nullptr;
    return dlsym(module, name);
}

void FreeModule(ModuleHandle module) {
    if (module != nullptr) dlclose(module);
}

std::string ModulePath(ModuleHandle module) {
    if (module == nullptr) return std::string();
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr)
        return std::string();
    return map->l_name;
}

bool IsModuleLoaded(const std::string& path) {
    if (path.empty()) return false;
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (module == nullptr) return false;
    dlclose(module);
    return true;
}

uint64_t ModuleBaseAddress(ModuleHandle module) {
    if (module == nullptr) return 0;
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return 0;
    return static_cast<uint64_t>(map->l_addr);
}

std::string LastModuleError() {
    const char* text = dlerror();
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace platform
