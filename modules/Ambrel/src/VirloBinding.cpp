#include "VirloBinding.h"

platform::ModuleHandle virloModule = nullptr;

platform::ModuleHandle LoadVirlo(const std::string&, const std::string&) { return nullptr; }

void UnloadVirlo(platform::ModuleHandle) {}

const SymbolRecord* CallGetVirlo(const std::string&) { return nullptr; }
