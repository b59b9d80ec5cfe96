#ifndef VIRLO_PDB_TEST_SUPPORT_H
#define VIRLO_PDB_TEST_SUPPORT_H

// The PDB reader on a fixture image: one use of the parser from Init to
// Terminate, and where the reference dump puts the fixture's symbols.

#include <gtest/gtest.h>

#include <string>

#include "ParserInstances.h"
#include "PdbUtilDump.h"
#include "VirloParserPdb.h"

namespace pdb_test {

inline std::string FixtureImage() { return std::string(VIRLO_PDB_FIXTURE_DIR) + "/vecu.dll"; }

inline const pdb_reference::PdbUtilDump& FixtureDump() {
    static const pdb_reference::PdbUtilDump dump =
        pdb_reference::PdbUtilDump::Read(std::string(VIRLO_PDB_FIXTURE_DIR) + "/vecu.pdbutil.txt");
    return dump;
}

// The offset from the image base of a global by the reference dump.
inline uint64_t ReferenceOffset(const std::string& name) {
    const auto* symbol = FixtureDump().FindData(name);
    if (symbol == nullptr) {
        ADD_FAILURE() << "no symbol " << name << " in the reference";
        return 0;
    }
    return FixtureDump().Rva(symbol->segment, symbol->offset);
}

// Init and Cache of the process's PDB parser; Terminate at the end, which
// destroys the parser.
class PdbRead {
public:
    explicit PdbRead(const std::string& dbghelp = VIRLO_DBGHELP_LIBRARY, const std::string& image = FixtureImage())
        : parser_(*static_cast<VirloParserPdb*>(PdbParserInstance())) {
        initResult_ = parser_.Init(image, dbghelp);
        if (initResult_ == 0) parser_.Cache("*");
    }
    ~PdbRead() { parser_.Terminate(false); }
    PdbRead(const PdbRead&) = delete;
    PdbRead& operator=(const PdbRead&) = delete;

    VirloParserPdb& Parser() { return parser_; }
    int InitResult() const { return initResult_; }
    const SymbolRecord* Get(const std::string& name) const { return parser_.FindSymbol(name); }

private:
    VirloParserPdb& parser_;
    int initResult_ = -1;
};

// Checks one cached record field by field.
inline void ExpectRecord(const PdbRead& read, const std::string& name, uint64_t address, uint64_t size,
                         uint32_t type, uint8_t bitOffset = 0, uint8_t bitLength = 0) {
    const SymbolRecord* record = read.Get(name);
    ASSERT_NE(record, nullptr) << name;
    EXPECT_EQ(record->address, address) << name;
    EXPECT_EQ(record->size, size) << name;
    EXPECT_EQ(record->typeCode, type) << name;
    EXPECT_EQ(record->bitOffset, bitOffset) << name;
    EXPECT_EQ(record->bitLength, bitLength) << name;
}

}  // namespace pdb_test

#endif
