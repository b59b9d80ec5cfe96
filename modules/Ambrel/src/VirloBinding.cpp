#include "VirloBinding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>

#include "CaughtFailure.h"

VirloEntryPoints virloEntryPoints;
platform::ModuleHandle virloModule = nullptr;

namespace {

// What the symbol library answers to a write without an active parser;
// without a bound library nothing is written either.
constexpr uint32_t kNothingToWrite = 4;

// The library the current table was bound from.
platform::ModuleHandle boundModule = nullptr;

// The thread whose InitVirlo holds the library's lock, and that library's
// path; no thread while no lock is known to be held.
std::thread::id lockHolder;
std::string lockedLibrary;

// The error number of a failed load. The loader does not leave one behind,
// so a library that cannot be opened reports why it cannot, and one that
// opens but does not load is no loadable library.
int LoadFailureCode(const std::string& path, int loaderError) {
    if (loaderError != 0) return loaderError;
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return errno != 0 ? errno : ENOENT;
    std::fclose(file);
    return ENOEXEC;
}

template <typename Function>
Function Bind(platform::ModuleHandle module, const char* name) {
    return reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
}

}  // namespace

platform::ModuleHandle BindVirloLibrary(std::string path, std::string* failure) {
    errno = 0;
    platform::ModuleHandle module = platform::LoadModule(path);
    if (module == nullptr) {
        const int error = LoadFailureCode(path, errno);
        const std::string text = path + " - LoadLibrary error code: " + std::to_string(error) +
                                 ", description: " + std::strerror(error);
        std::fprintf(stderr, "%s\n", text.c_str());
        if (failure != nullptr) *failure = text;
        return nullptr;
    }
    virloEntryPoints.InitVirlo = Bind<InitVirloFn>(module, "InitVirlo");
    virloEntryPoints.CacheVirlo = Bind<CacheVirloFn>(module, "CacheVirlo");
    virloEntryPoints.GetVirlo = Bind<GetVirloFn>(module, "GetVirlo");
    virloEntryPoints.ClearVirloCache = Bind<ClearVirloCacheFn>(module, "ClearVirloCache");
    virloEntryPoints.TerminateVirlo = Bind<TerminateVirloFn>(module, "TerminateVirlo");
    virloEntryPoints.WriteVirloToFile = Bind<WriteVirloToFileFn>(module, "WriteVirloToFile");
    boundModule = module;
    return module;
}

void FreeVirloLibrary(platform::ModuleHandle module) {
    if (module == nullptr) return;
    // Once the library may be gone nothing must call into it any more.
    if (module == boundModule) {
        virloEntryPoints = VirloEntryPoints();
        boundModule = nullptr;
    }
    platform::FreeModule(module);
}

uint32_t CallInitVirlo(std::string path, std::string dbghelpPath) {
    if (virloEntryPoints.InitVirlo == nullptr) return 0;
    return virloEntryPoints.InitVirlo(std::move(path), std::move(dbghelpPath));
}

uint32_t CallCacheVirlo(std::string mask) {
    if (virloEntryPoints.CacheVirlo == nullptr) return 0;
    return virloEntryPoints.CacheVirlo(std::move(mask));
}

const SymbolRecord* CallGetVirlo(const std::string& name) {
    if (virloEntryPoints.GetVirlo == nullptr) return nullptr;
    return virloEntryPoints.GetVirlo(name);
}

void CallClearVirloCache() {
    if (virloEntryPoints.ClearVirloCache != nullptr) virloEntryPoints.ClearVirloCache();
}

void CallTerminateVirlo(bool replaceFile) {
    if (virloEntryPoints.TerminateVirlo != nullptr) virloEntryPoints.TerminateVirlo(replaceFile);
}

uint32_t CallWriteVirloToFile(const wchar_t* path, uint32_t unused, uint64_t imageAddress,
                              uint32_t addressWidth, uint32_t bitOrder) {
    if (virloEntryPoints.WriteVirloToFile == nullptr) return kNothingToWrite;
    return virloEntryPoints.WriteVirloToFile(path, unused, imageAddress, addressWidth, bitOrder);
}

platform::ModuleHandle LoadVirlo(const std::string& resourceFolder, const std::string& libraryFolder,
                                 std::string* failure) {
    const std::string path = resourceFolder + "Virlo" + platform::kSharedLibrarySuffix;
    platform::ModuleHandle module = BindVirloLibrary(path, failure);
    if (module != nullptr && virloEntryPoints.InitVirlo != nullptr) {
        lockHolder = std::this_thread::get_id();
        lockedLibrary = platform::ModulePath(module);
    }
    CallInitVirlo(libraryFolder, resourceFolder + "dbghelp" + platform::kSharedLibrarySuffix);
    CallCacheVirlo("*");
    return module;
}

void UnloadVirlo(platform::ModuleHandle module) {
    // Terminated and unloaded even when a call before fails: a library left
    // loaded and initialised would refuse the next instance's InitVirlo.
    std::optional<std::string> failure = CatchFailure(CallClearVirloCache);
    if (std::optional<std::string> terminateFailure = CatchFailure([] { CallTerminateVirlo(false); });
        !failure)
        failure = std::move(terminateFailure);
    const bool lockLeft = lockHolder == std::this_thread::get_id();
    FreeVirloLibrary(module);
    // On another thread TerminateVirlo leaves the lock held; it is gone only
    // when the library itself has left the process.
    if (lockLeft || !platform::IsModuleLoaded(lockedLibrary)) {
        lockHolder = std::thread::id();
        lockedLibrary.clear();
    }
    if (failure) throw std::runtime_error("the symbol library failed to terminate: " + *failure);
}

bool VirloLockedByAnotherThread() {
    if (lockHolder == std::thread::id() || lockHolder == std::this_thread::get_id()) return false;
    if (platform::IsModuleLoaded(lockedLibrary)) return true;
    lockHolder = std::thread::id();
    lockedLibrary.clear();
    return false;
}
