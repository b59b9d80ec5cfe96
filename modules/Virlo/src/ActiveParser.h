#ifndef VIRLO_ACTIVE_PARSER_H
#define VIRLO_ACTIVE_PARSER_H

#include <string>

class VirloParser;

// The parser kinds that selection can choose.
enum class ParserKind { None, SymbolDetails, Dwarf, Pdb };

// Which parser the library uses. Once a parser is selected it stays the
// active parser for the rest of the process.
struct ActiveParser {
    // The last path selection was asked for while no parser was active; once
    // one is, the path it was selected with.
    std::string path;
    // The active parser (not owned); null while none is.
    VirloParser* parser = nullptr;
    // The kind of the active parser: the PDB parser destroys itself when it
    // terminates, so its instance is asked for afresh on every use.
    ParserKind kind = ParserKind::None;
};

// The process's record, created on first use.
ActiveParser& ActiveParserInstance();

#endif
