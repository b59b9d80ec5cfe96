#include "A2lPatchFile.h"

#include <fstream>
#include <iostream>

#include <nlohmann/json.hpp>

#include "WorkspaceFolder.h"

std::filesystem::path GetA2lPatchFile(std::string configPath) {
    std::ifstream in(configPath);
    if (!in.is_open()) {
        std::cout << "Failed to open " << configPath << std::endl;
        return {};
    }
    if (in.peek() == std::ifstream::traits_type::eof()) return {};

    const nlohmann::json config = nlohmann::json::parse(in);
    if (!config.is_object()) {
        std::cout << "Failed to parse " << configPath << std::endl;
        return {};
    }
    if (!config.contains("patch_a2l_file")) return {};
    const std::string fileName = config.at("patch_a2l_file").at("filename").get<std::string>();
    return WorkspaceFolder() / "build" / "fmu" / "resources" / fileName;
}
