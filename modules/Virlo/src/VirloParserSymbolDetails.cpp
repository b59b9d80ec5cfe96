#include "VirloParserSymbolDetails.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "ParserInstances.h"
#include "ReplaceFile.h"
#include "SymbolDetailsWriter.h"
#include "SymbolTypeNames.h"

namespace {

// A line counts with at most this many characters minus one.
constexpr size_t kLineBufferSize = 65536;
constexpr size_t kInputBufferSize = size_t{1} << 20;
constexpr size_t kRowsPerBlock = 4096;

// A row: address, size, type, bit offset and bit length, each followed by
// ';', then the value column and, after the row's last ';', the name.
const char* const kRowPattern =
    "(?P<adress>0x[0-9a-fA-F]+)\\s*;(?P<size>\\d*)\\s*;(?P<type>\\S+[ ]*\\S+)\\s*;"
    "(?P<offset1>\\d*)\\s*;(?P<offset2>\\d*)\\s*;.*;(?P<name>.*)";

enum RowGroup { Group_Address = 1, Group_Size, Group_Type, Group_BitOffset, Group_BitLength, Group_Name };

}  // namespace

// The compiled row pattern with its match data, for one batch.
class VirloParserSymbolDetails::RowPattern {
public:
    RowPattern() {
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kRowPattern), PCRE2_ZERO_TERMINATED, 0,
                             &errorCode, &errorOffset, nullptr);
        if (code == nullptr) {
            PCRE2_UCHAR message[256];
            pcre2_get_error_message(errorCode, message, sizeof message);
            std::printf("PCRE2 compilation failed at offset %d: %s\n", static_cast<int>(errorOffset),
                        reinterpret_cast<const char*>(message));
            return;
        }
        // Machine code only speeds matching up; where it is unavailable the
        // interpreter gives the same matches.
        pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
        match = pcre2_match_data_create_from_pattern(code, nullptr);
    }
    ~RowPattern() {
        pcre2_match_data_free(match);
        pcre2_code_free(code);
    }
    RowPattern(const RowPattern&) = delete;
    RowPattern& operator=(const RowPattern&) = delete;

    bool Compiled() const { return match != nullptr; }

    // The match's count of groups + 1 (as pcre2_match gives it), or <= 0.
    int Match(const char* subject, size_t length) {
        const auto text = reinterpret_cast<PCRE2_SPTR>(subject);
        int result = pcre2_match(code, text, length, 0, 0, match, nullptr);
        // The machine code has a smaller backtracking stack than the
        // interpreter; let the interpreter decide what it cannot.
        if (result == PCRE2_ERROR_JIT_STACKLIMIT)
            result = pcre2_match(code, text, length, 0, PCRE2_NO_JIT, match, nullptr);
        return result;
    }

    std::string_view Group(const char* subject, int group) const {
        const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(match);
        const PCRE2_SIZE begin = offsets[2 * group];
        const PCRE2_SIZE end = offsets[2 * group + 1];
        if (begin == PCRE2_UNSET || end < begin) return {};
        return std::string_view(subject + begin, end - begin);
    }

private:
    pcre2_code* code = nullptr;
    pcre2_match_data* match = nullptr;
};

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// The number the digits give, as strtoull reads it: "0x" is accepted in
// base 16, reading stops at the first non-digit, and a value too large
// saturates at the largest 64-bit value.
uint64_t ReadUnsigned(std::string_view text, int base) {
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        DigitValue(text[2]) < 16)
        text.remove_prefix(2);
    uint64_t value = 0;
    for (const char c : text) {
        const int digit = DigitValue(c);
        if (digit >= base) break;
        if (__builtin_mul_overflow(value, static_cast<uint64_t>(base), &value) ||
            __builtin_add_overflow(value, static_cast<uint64_t>(digit), &value))
            return std::numeric_limits<uint64_t>::max();
    }
    return value;
}

// A bit number: read as a 32-bit unsigned number (saturating), kept modulo 256.
uint8_t ReadBitNumber(std::string_view text) {
    const uint64_t value = ReadUnsigned(text, 10);
    return static_cast<uint8_t>(value > 0xFFFFFFFFu ? 0xFFFFFFFFu : value);
}

}  // namespace

VirloParserSymbolDetails::VirloParserSymbolDetails()
    : inputBuffer(new char[kInputBufferSize]), lineBuffer(new char[kLineBufferSize]) {
    // Tables run to millions of lines; a large buffer keeps reading cheap.
    input.rdbuf()->pubsetbuf(inputBuffer.get(), kInputBufferSize);
}

VirloParserSymbolDetails::~VirloParserSymbolDetails() = default;

int VirloParserSymbolDetails::Init(std::string path, std::string /*dbghelpPath*/) {
    if (initialised) return ParserStatus_CannotOpenTable;
    initialised = true;
    filePath = activePath.empty() ? path : activePath;

    input.open(filePath);
    if (!input.is_open()) {
        std::fprintf(stderr, "Fail to open the file %s\n", filePath.c_str());
        return ParserStatus_CannotOpenTable;
    }
    output.open(filePath + ".tmp", std::ios::out | std::ios::app);
    if (!output.is_open()) {
        std::fprintf(stderr, "Fail to open the file %s.tmp\n", filePath.c_str());
        return ParserStatus_CannotOpenTable;
    }
    return ParserStatus_Success;
}

int VirloParserSymbolDetails::Cache(const std::string& /*mask*/) {
    const int result = ReadSymbolDetailsFile();
    ParseSymbolDetailsFile();
    return result;
}

// Names found non-unique belong to the table being read: a later session,
// on this table or another, starts without them.
int VirloParserSymbolDetails::ClearCache() {
    SymbolCache.clear();
    nonUniqueNames.clear();
    return ParserStatus_Success;
}

void VirloParserSymbolDetails::Terminate(bool replaceFile) {
    SymbolCache.clear();
    nonUniqueNames.clear();
    if (input.is_open()) input.close();
    // The companion replaces the table only when every byte reached it.
    bool outputComplete = true;
    if (output.is_open()) {
        output.close();
        outputComplete = !output.fail();
    }
    ReleaseRows();
    batch.clear();
    rowPattern.reset();
    pendingLine.reset();
    initialised = false;

    if (!replaceFile) return;
    if (!outputComplete) {
        std::fprintf(stderr, "Fail to write the file %s.tmp\n", filePath.c_str());
        return;
    }
    ReplaceFile(filePath + ".tmp", filePath);
}

int VirloParserSymbolDetails::WriteToFile(std::string /*path*/, uint64_t imageAddress,
                                          uint32_t addressWidth, uint32_t bitOrder) {
    if (!output.is_open()) return ParserStatus_Success;

    std::string text;
    if (WritesRows(addressWidth)) {
        ReadableMemory memory;
        for (const SymbolEntry* entry : OrderByAddress(SymbolCache))
            AppendSymbolRow(text, *entry, imageAddress, addressWidth, bitOrder, memory);
    }
    FlushTextToStream(text, output);

    if (pendingLine) {
        output << *pendingLine << '\n';
        pendingLine.reset();
    }
    return ParserStatus_Success;
}

bool VirloParserSymbolDetails::ReadTableLine() {
    char* line = lineBuffer.get();
    input.getline(line, kLineBufferSize);
    if (input.eof()) return false;
    if (input.fail()) {
        // Longer than the buffer: the line is what fitted, the rest is skipped.
        input.clear();
        input.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        lineLength = std::strlen(line);
        return !input.eof();
    }
    // Text mode: a carriage return before the line feed is part of the line end.
    lineLength = std::strlen(line);
    if (lineLength > 0 && line[lineLength - 1] == '\r') line[--lineLength] = '\0';
    return true;
}

int VirloParserSymbolDetails::ReadSymbolDetailsFile() {
    ReleaseRows();
    // A table that could not be opened has nothing more to give: answering
    // "more to come" would keep a caller that reads until 0 looping forever.
    if (!input.is_open()) return 0;

    uint32_t count = 0;
    while (input.good()) {
        if (count >= SymbolDetailsLineLimit) break;
        if (!ReadTableLine()) break;
        const char* line = lineBuffer.get();
        if (line[0] != '0') {
            pendingLine = std::string(line);
            return 1;
        }
        rowStarts.push_back(rowText.size());
        rowText.append(line, lineLength + 1);
        ++count;
        // A batch without limit may be the whole table: its rows are parsed
        // a block at a time instead of being held all at once.
        if (rowStarts.size() == kRowsPerBlock) ParseSymbolDetailsRows();
    }
    return input.good() ? 1 : 0;
}

void VirloParserSymbolDetails::ParseSymbolDetailsFile() {
    ParseSymbolDetailsRows();
    SymbolCache = std::move(batch);
    batch = SymbolCacheMap();
    rowPattern.reset();
    ReleaseRows();
}

void VirloParserSymbolDetails::ParseSymbolDetailsRows() {
    if (rowStarts.empty()) return;
    // Compiled once per batch, when its first rows arrive.
    if (!rowPattern) rowPattern = std::make_unique<RowPattern>();
    if (rowPattern->Compiled()) {
        for (size_t row = 0; row < rowStarts.size(); ++row) {
            const size_t end = row + 1 < rowStarts.size() ? rowStarts[row + 1] : rowText.size();
            ParseRow(rowText.data() + rowStarts[row], end - rowStarts[row]);
        }
    }
    // Keep the space for the next block.
    rowText.clear();
    rowStarts.clear();
}

void VirloParserSymbolDetails::ParseRow(const char* text, size_t length) {
    // The subject includes the row's terminating NUL.
    const int matched = rowPattern->Match(text, length);
    if (matched < 2) return;

    uint64_t address = 0;
    uint64_t size = 0;
    uint8_t bitOffset = 0;
    uint8_t bitLength = 0;
    std::string_view type;
    std::string_view name;
    for (int group = 1; group < matched; ++group) {
        const std::string_view value = rowPattern->Group(text, group);
        switch (group) {
        case Group_Address: address = ReadUnsigned(value, 16); break;
        case Group_Size: size = ReadUnsigned(value, 10); break;
        case Group_Type: type = value; break;
        case Group_BitOffset: bitOffset = ReadBitNumber(value); break;
        case Group_BitLength: bitLength = ReadBitNumber(value); break;
        case Group_Name: name = value.substr(0, value.find('\0')); break;
        default: break;
        }
    }

    std::string key(name);
    SymbolCacheMap::iterator position;
    if (!AdmitSymbolName(
            nonUniqueNames, batch, key, address,
            [](const std::unique_ptr<SymbolRecord>& record) { return record->address; }, &position))
        return;
    batch.emplace_hint(
        position, std::move(key),
        std::make_unique<SymbolRecord>(address, size, TypeNameToCode(type), bitOffset, bitLength));
}

void VirloParserSymbolDetails::ReleaseRows() {
    std::string().swap(rowText);
    std::vector<size_t>().swap(rowStarts);
}
