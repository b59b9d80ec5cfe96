#include "SymbolDetailsWriter.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstring>

#include "ReplaceFile.h"
#include "SymbolTypeNames.h"
#include "ValueColumn.h"

namespace {

const char* const kHeaderLine =
    "Address           ;Size       ;Type             ;BF-Ofs;BF-Len;Value                   ;Symbol Name\n";
const char* const kFooterLine =
    "The following symbol names were non-unique (same name, various addresses).\n";

void ReportWriteError(int error) { std::fprintf(stderr, "%s\n", std::strerror(error)); }

}  // namespace

std::vector<const SymbolEntry*> OrderByAddress(const SymbolCacheMap& cache) {
    std::vector<const SymbolEntry*> ordered;
    ordered.reserve(cache.size());
    for (const SymbolEntry& entry : cache) ordered.push_back(&entry);
    std::stable_sort(ordered.begin(), ordered.end(), [](const SymbolEntry* a, const SymbolEntry* b) {
        return a->second->address < b->second->address;
    });
    return ordered;
}

bool WritesRows(uint32_t addressWidth) {
    return addressWidth == AddressWidth_Bits32 || addressWidth == AddressWidth_Bits64;
}

void AppendSymbolRow(std::string& text, const SymbolEntry& entry, uint64_t imageAddress,
                     uint32_t addressWidth, uint32_t bitOrder, ReadableMemory& memory) {
    const SymbolRecord& record = *entry.second;
    char columns[160];
    const int addressLength =
        addressWidth == AddressWidth_Bits64
            ? std::snprintf(columns, sizeof columns, "0x%016" PRIx64 ";", record.address)
            : std::snprintf(columns, sizeof columns, "0x%08" PRIx64 "        ;", record.address);
    std::snprintf(columns + addressLength, sizeof columns - addressLength, "%-11" PRIu64 ";%-17s;%-6u;%-6u;",
                  record.size, SymbolTypeName(record.typeCode), unsigned{record.bitOffset},
                  unsigned{record.bitLength});
    text += columns;
    text += FormatValueColumn(entry, imageAddress, bitOrder, memory);
    text += entry.first;
    text += '\n';
}

bool FlushTextToFile(std::string& text, std::FILE* file) {
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    text.clear();
    return written;
}

bool FlushTextToStream(std::string& text, std::ostream& stream) {
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    stream.flush();
    text.clear();
    return static_cast<bool>(stream);
}

int VirloParser::WriteToFile(std::string path, uint64_t imageAddress, uint32_t addressWidth,
                             uint32_t bitOrder) {
    const std::vector<const SymbolEntry*> ordered = OrderByAddress(SymbolCache);

    // The table is written beside its target and put in its place only when
    // complete, so a failed write never leaves a damaged table.
    const std::string temporaryPath = path + ".tmp";
    std::FILE* file = std::fopen(temporaryPath.c_str(), "w");
    if (file == nullptr) {
        ReportWriteError(errno);
        return ParserStatus_CannotCreateOutput;
    }

    std::string text;
    int error = 0;  // the first write failure
    const auto flush = [&] {
        if (!FlushTextToFile(text, file) && error == 0) error = errno != 0 ? errno : EIO;
    };

    text = std::to_string(SymbolCache.size()) + " symbol(s) found, " +
           std::to_string(nonUniqueNames.size()) + " symbol(s) with non-unique name(s).\n";
    flush();
    text = kHeaderLine;
    flush();

    if (WritesRows(addressWidth)) {
        ReadableMemory memory;
        for (const SymbolEntry* entry : ordered) {
            AppendSymbolRow(text, *entry, imageAddress, addressWidth, bitOrder, memory);
            flush();
        }
    }

    text = "\n";
    flush();
    text = kFooterLine;
    flush();
    for (const std::string& name : nonUniqueNames) {
        text = name + "\n";
        flush();
    }

    // Buffered bytes reach the disk at fclose, so its failure counts as well.
    if (std::fclose(file) != 0 && error == 0) error = errno;
    if (error != 0) {
        ReportWriteError(error);
        std::remove(temporaryPath.c_str());
        return ParserStatus_CannotCreateOutput;
    }

    ReplaceFile(temporaryPath, path);
    return ParserStatus_Success;
}
