#ifndef VIRLO_PARSER_SYMBOL_DETAILS_H
#define VIRLO_PARSER_SYMBOL_DETAILS_H

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "VirloParser.h"

// Reads a SymbolDetails table batch by batch: each Cache call takes the next
// run of rows (lines beginning with '0'), at most SymbolDetailsLineLimit of
// them, and makes them the whole cache. The line that ends a run is held back
// so that WriteToFile can rewrite the table, rows with fresh values and every
// other line in its place, into the table's ".tmp" companion, which Terminate
// may then put in the table's place.
class VirloParserSymbolDetails : public VirloParser {
public:
    VirloParserSymbolDetails();
    ~VirloParserSymbolDetails() override;

    int Init(std::string path, std::string dbghelpPath) override;
    int Cache(const std::string& mask) override;
    int ClearCache() override;
    int WriteToFile(std::string path, uint64_t imageAddress, uint32_t addressWidth,
                    uint32_t bitOrder) override;
    void Terminate(bool replaceFile) override;

private:
    class RowPattern;

    // Reads the next batch of rows; 1 when more may follow, 0 at the end.
    int ReadSymbolDetailsFile();
    // Makes the batch's rows the content of the cache.
    void ParseSymbolDetailsFile();
    // Enters the rows read so far into the batch's map and empties them.
    void ParseSymbolDetailsRows();
    void ParseRow(const char* text, size_t length);
    // Reads one line into lineBuffer (its length into lineLength); false when
    // the file ended before its line feed.
    bool ReadTableLine();
    void ReleaseRows();

    // Declared first: the input stream reads through inputBuffer until it is
    // destroyed itself.
    std::unique_ptr<char[]> inputBuffer;
    std::unique_ptr<char[]> lineBuffer;
    size_t lineLength = 0;

    std::ifstream input;
    std::ofstream output;
    std::optional<std::string> pendingLine;
    // Rows of the current batch not yet parsed, one after the other, each
    // with its NUL.
    std::string rowText;
    std::vector<size_t> rowStarts;
    std::string filePath;
    // The map that the current batch fills, and the pattern its rows are
    // matched with.
    SymbolCacheMap batch;
    std::unique_ptr<RowPattern> rowPattern;
};

#endif
