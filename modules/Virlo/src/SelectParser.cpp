#include "SelectParser.h"

#include <filesystem>
#include <fstream>

#include "ParserInstances.h"
#include "VirloParser.h"

namespace fs = std::filesystem;

namespace {

// A directory opens for reading here but is no symbol file.
bool OpensForReading(const std::string& path) {
    std::error_code ignored;
    if (fs::is_directory(path, ignored)) return false;
    return std::ifstream(path).is_open();
}

void SetStatus(uint32_t* status, uint32_t value) {
    if (status != nullptr) *status = value;
}

void Activate(ActiveParser& active, ParserKind kind, VirloParser* parser) {
    active.kind = kind;
    active.parser = parser;
}

void SelectForFolder(ActiveParser& active, uint32_t* status) {
    // The folder path ends in a separator; the table names are appended as they are.
    const std::string rawTable = active.path + "RawSymbolDetails.txt";
    const std::string table = active.path + "SymbolDetails.txt";
    if (fs::exists(rawTable)) {
        Activate(active, ParserKind::SymbolDetails, SymbolDetailsParserInstance(true));
        active.parser->activePath = rawTable;
    } else if (fs::exists(table)) {
        Activate(active, ParserKind::SymbolDetails, SymbolDetailsParserInstance(false));
        active.parser->activePath = table;
    } else {
        SetStatus(status, ParserStatus_NoTableInFolder);
    }
}

void SelectForFile(ActiveParser& active, uint32_t* status) {
    if (fs::path(active.path).filename() == "SymbolDetails.txt") {
        Activate(active, ParserKind::SymbolDetails, SymbolDetailsParserInstance(false));
        // Its Init reads the path it is given.
        active.parser->activePath.clear();
        return;
    }
    // The base ends at the last '.' of the whole path, folders included.
    const size_t dot = active.path.rfind('.');
    const std::string base = dot == std::string::npos ? active.path : active.path.substr(0, dot);
    if (OpensForReading(base + ".pdb"))
        Activate(active, ParserKind::Pdb, PdbParserInstance());
    else if (OpensForReading(base + ".die"))
        Activate(active, ParserKind::Dwarf, DwarfParserInstance());
    else
        SetStatus(status, ParserStatus_NoParserForFile);
}

}  // namespace

VirloParser* SelectParser(ActiveParser& active, const std::string& path, uint32_t* status) {
    if (active.parser != nullptr) {
        if (!path.empty() && path != active.path) return nullptr;
        // A terminated PDB parser has destroyed itself; its kind gives a fresh one.
        if (active.kind == ParserKind::Pdb) active.parser = PdbParserInstance();
        return active.parser;
    }

    active.path = path;
    if (path.empty()) return nullptr;

    const fs::file_type type = fs::status(active.path).type();
    if (type == fs::file_type::directory)
        SelectForFolder(active, status);
    else if (type == fs::file_type::regular)
        SelectForFile(active, status);
    return active.parser;
}
