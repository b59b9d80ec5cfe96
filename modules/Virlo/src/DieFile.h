#ifndef VIRLO_DIE_FILE_H
#define VIRLO_DIE_FILE_H

// The .die file: an nm-style symbol list followed by a textual DWARF dump,
// read as bytes in pieces and cut into lines in place.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One line inside a piece of the file: its line end has been overwritten
// with NUL, so the text is NUL-terminated in place.
struct LineView {
    char* text = nullptr;
    uint64_t length = 0;
};

// The lines of one debugging-information entry: its header line first, then
// its attribute lines. A block is a run of consecutive lines, so it is kept
// as a range of the line list rather than a copy.
class DieBlock {
public:
    DieBlock(const LineView* first, size_t count) : first_(first), count_(count) {}
    const LineView* begin() const { return first_; }
    const LineView* end() const { return first_ + count_; }
    size_t size() const { return count_; }
    const LineView& operator[](size_t i) const { return first_[i]; }

private:
    const LineView* first_;
    size_t count_;
};

// Pieces of the file are at most this many bytes (plus a NUL).
constexpr size_t kDiePieceSize = 0x100000;

// The .die file beside a given file: the path up to its last '.' (wherever
// that lies) plus ".die", or the whole path plus ".die" when it has no '.'.
std::string MakeDiePath(const std::string& path);

// The patterns of the dump's lines.
extern const char* const kNmRowPattern;
extern const char* const kDieStartPattern;
extern const char* const kDieEndPattern;
extern const char* const kDieHeaderPattern;

#endif
