#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

#include "DieFile.h"
#include "DieLinePattern.h"
#include "VirloParserDwarf.h"

const char* const kNmRowPattern =
    "(?P<address>[0-9a-fA-F]+)\\s+(?P<type>[ABbCDdGgRrSsTtWw])\\s+"
    "(?P<name>[\\w:]*[\\(\\w\\s\\S\\)]*).*$";
const char* const kDieStartPattern =
    "<\\d+><[0123456789abcdefABCDEFxX]+>: Abbrev Number: [123456789]\\d*";
const char* const kDieEndPattern = "<\\d+><[0123456789abcdefABCDEFxX]+>: Abbrev Number: 0";
const char* const kDieHeaderPattern =
    "<(?P<indent>\\d+)><(?P<address>[0123456789abcdefABCDEFxX]+)>:\\s+Abbrev "
    "Number:\\s+\\d+\\s+\\((?P<tag>[a-zA-Z_]+)\\)";

std::string MakeDiePath(const std::string& path) {
    const size_t dot = path.rfind('.');
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ".die";
}

namespace {

class InputFile {
public:
    explicit InputFile(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~InputFile() { Close(); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::FILE* get() const { return file_; }
    void Close() {
        if (file_ != nullptr) std::fclose(file_);
        file_ = nullptr;
    }

private:
    std::FILE* file_;
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Splits one NUL-terminated piece into lines, overwriting every line end.
void SplitPiece(char* piece, std::vector<LineView>& lines) {
    char* cursor = piece;
    while (*cursor != '\0') {
        if (IsLineEnd(*cursor)) {
            *cursor++ = '\0';
            continue;
        }
        const size_t length = std::strcspn(cursor, "\r\n");
        lines.push_back(LineView{cursor, length});
        cursor += length;
    }
}

}  // namespace

void VirloParserDwarf::ReadDieFile(const std::string& path) {
    InputFile file(path);
    if (file.get() == nullptr) return;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return;
    const long end = std::ftell(file.get());
    if (end <= 0) return;
    const uint64_t size = static_cast<uint64_t>(end);

    const size_t firstNewPiece = chunks.size();
    uint64_t position = 0;
    while (position < size) {
        const uint64_t n = std::min<uint64_t>(size - position, kDiePieceSize);
        std::unique_ptr<char[]> piece;
        try {
            piece.reset(new char[n + 1]);
        } catch (const std::bad_alloc&) {
            std::cerr << "(Virlo.dll) The *.die file is too large to load.\n"
                         " For more details, please refer to the User Guide.";
            file.Close();
            throw;
        }
        if (std::fseek(file.get(), static_cast<long>(position), SEEK_SET) != 0) break;
        const size_t read = std::fread(piece.get(), 1, n, file.get());
        piece[read] = '\0';
        position += read;
        if (read < n) {
            // The file shrank while being read: keep what arrived.
            chunks.push_back(std::move(piece));
            break;
        }
        if (position < size) {
            // Not the last piece: cut it after its last line end, so that no
            // line is split between pieces and the next piece starts the
            // following line. A piece without any line end holds one part of
            // an over-long line and is kept whole; cutting it back would read
            // the same piece forever.
            uint64_t keep = n;
            while (keep > 0 && !IsLineEnd(piece[keep - 1])) --keep;
            if (keep > 0) {
                std::memset(piece.get() + keep, 0, n - keep);
                position -= n - keep;
            }
        }
        chunks.push_back(std::move(piece));
    }

    // Dump lines average some forty bytes.
    lines.reserve(lines.size() + size / 32);
    for (size_t i = firstNewPiece; i < chunks.size(); ++i) SplitPiece(chunks[i].get(), lines);
}

namespace {

bool MayBeDieBoundary(const LineView& line) {
    // Both patterns hold this text, so lines without it match neither; most
    // lines of a dump are attribute lines and skip the pattern matching.
    static const char kMarker[] = ": Abbrev Number: ";
    return std::strstr(line.text, kMarker) != nullptr;
}

}  // namespace

std::vector<DieBlock> VirloParserDwarf::SplitDieBlocks() const {
    DieLinePattern start(kDieStartPattern);
    DieLinePattern end(kDieEndPattern);
    std::vector<DieBlock> blocks;
    const LineView* blockStart = nullptr;  // null outside a block
    for (const LineView& line : lines) {
        const bool boundary = MayBeDieBoundary(line);
        if (boundary && start.Match(line.text, line.length)) {
            if (blockStart != nullptr) blocks.emplace_back(blockStart, &line - blockStart);
            blockStart = &line;
        } else if (blockStart != nullptr && boundary && end.Match(line.text, line.length)) {
            blocks.emplace_back(blockStart, &line - blockStart);
            blockStart = nullptr;
        }
    }
    return blocks;
}
