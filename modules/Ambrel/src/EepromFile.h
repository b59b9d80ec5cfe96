#ifndef AMBREL_EEPROM_FILE_H
#define AMBREL_EEPROM_FILE_H

// The EEPROM images of an instance, as the Eeprom section of resources.txt
// names them: text files in the resource folder holding one line of
// hexadecimal bytes per range, each range being a vECU variable.

#include <string>
#include <vector>

#include "SymbolRecord.h"

struct EepromRange {
    // A vECU symbol, or an address and size in text form.
    std::string symbolName;
    // All zero until symbol registration gives it an absolute address and a
    // size; loading cuts the size to the bytes its line holds. An address of
    // 0 means the symbol was not found.
    SymbolRecord location;
};

struct EepromFile {
    // Relative to the resource folder.
    std::string fileName;
    // The copy outside the FMU that carries the contents from one
    // simulation to the next; empty when there is none.
    std::string syncFilePath;
    // In the order of their data lines in the file.
    std::vector<EepromRange> ranges;
};

#endif
