#include "SymbolHandler.h"

#include <cstdio>

namespace dbghelp {
namespace {

// Used when an image names no base of its own.
constexpr uint64_t kFallbackBase = 0x10000000;

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

}  // namespace

std::string PdbPathBeside(const std::string& imagePath) {
    const size_t slash = imagePath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : imagePath.substr(0, slash + 1);
    return folder + WithoutExtension(FileName(imagePath)) + ".pdb";
}

SymbolHandler& SymbolHandler::Instance() {
    static SymbolHandler handler;
    return handler;
}

bool SymbolHandler::Initialize(HANDLE process) {
    // A second initialisation without SymCleanup would silently drop the
    // modules of the first; refuse it.
    return processes_.emplace(process, ModuleMap()).second;
}

bool SymbolHandler::Cleanup(HANDLE process) { return processes_.erase(process) != 0; }

uint64_t SymbolHandler::LoadModule(HANDLE process, const std::string& imagePath, const char* moduleName,
                                   uint64_t requestedBase) {
    const auto found = processes_.find(process);
    if (found == processes_.end()) return 0;
    ModuleMap& modules = found->second;

    PeImageFacts image;
    if (!ReadPeImage(imagePath, image)) {
        Debug(imagePath + " cannot be read as a PE image");
        return 0;
    }
    auto module = std::make_unique<LoadedModule>();
    module->imagePath = imagePath;
    module->name = moduleName != nullptr ? moduleName : WithoutExtension(FileName(imagePath));
    module->base = requestedBase != 0 ? requestedBase : image.preferredBase != 0 ? image.preferredBase : kFallbackBase;
    module->size = image.imageSize != 0 ? image.imageSize : 1;

    for (const auto& entry : modules) {
        const LoadedModule& other = *entry.second;
        if (other.imagePath == imagePath) return 0;  // already loaded
        if (module->base < other.base + other.size && other.base < module->base + module->size) {
            Debug(imagePath + " overlaps module " + other.name);
            return 0;
        }
    }

    const std::string pdbPath = PdbPathBeside(imagePath);
    std::string reason;
    module->pdb = PdbModule::Open(pdbPath, image, reason);
    if (!module->pdb) Debug(module->name + ": no symbols: " + reason);

    const uint64_t base = module->base;
    modules.emplace(base, std::move(module));
    return base;
}

LoadedModule* SymbolHandler::FindModule(HANDLE process, uint64_t base) {
    const auto found = processes_.find(process);
    if (found == processes_.end()) return nullptr;
    const auto module = found->second.find(base);
    return module == found->second.end() ? nullptr : module->second.get();
}

void SymbolHandler::Debug(const std::string& line) const {
    if ((options_ & SYMOPT_DEBUG) != 0) std::fprintf(stderr, "dbghelp: %s\n", line.c_str());
}

}  // namespace dbghelp
