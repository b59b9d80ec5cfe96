#ifndef VIRLO_SELECT_PARSER_H
#define VIRLO_SELECT_PARSER_H

#include <cstdint>
#include <string>

#include "ActiveParser.h"

// The parser for a path, chosen while no parser is active:
// - a folder (its path ending in a separator) with RawSymbolDetails.txt, else
//   with SymbolDetails.txt: the SymbolDetails parser for that table; with
//   neither: none, status 2;
// - a file named SymbolDetails.txt: the SymbolDetails parser;
// - another file: the PDB parser when the path up to its last '.' plus ".pdb"
//   can be opened, else the DWARF parser when that base plus ".die" can;
//   else none, status 1;
// - nothing there (or an empty path): none.
// Once a parser is active, the empty path and the path it was selected with
// give it, any other path none. status may be null and is written only for
// the outcomes 1 and 2. A file-system query that fails for another reason
// than a missing object raises std::filesystem::filesystem_error.
VirloParser* SelectParser(ActiveParser& active, const std::string& path, uint32_t* status);

#endif
