#include "WideName.h"

#include <cstdlib>
#include <vector>

namespace dbghelp {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at text[index], advancing index past it.
char32_t DecodeUtf8(const std::string& text, size_t& index) {
    const auto lead = static_cast<unsigned char>(text[index++]);
    if (lead < 0x80) return lead;
    size_t trailing = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        trailing = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        trailing = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        trailing = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (size_t i = 0; i < trailing; ++i) {
        if (index >= text.size() || (static_cast<unsigned char>(text[index]) & 0xC0) != 0x80)
            return kReplacement;
        value = (value << 6) | (static_cast<unsigned char>(text[index++]) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
    return value;
}

}  // namespace

WCHAR* AllocateWideName(const std::string& utf8) {
    std::vector<WCHAR> units;
    units.reserve(utf8.size() + 1);
    for (size_t index = 0; index < utf8.size();) {
        const char32_t code = DecodeUtf8(utf8, index);
        if (code >= 0x10000) {
            const char32_t offset = code - 0x10000;
            units.push_back(static_cast<WCHAR>(0xD800 + (offset >> 10)));
            units.push_back(static_cast<WCHAR>(0xDC00 + (offset & 0x3FF)));
        } else {
            units.push_back(static_cast<WCHAR>(code));
        }
    }
    units.push_back(0);
    auto* block = static_cast<WCHAR*>(std::malloc(units.size() * sizeof(WCHAR)));
    if (block == nullptr) return nullptr;
    for (size_t i = 0; i < units.size(); ++i) block[i] = units[i];
    return block;
}

}  // namespace dbghelp
