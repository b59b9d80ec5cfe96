#include "ResourceLocation.h"

#include <cctype>
#include <cstddef>

namespace {

bool StartsWithFileScheme(const std::string& text) {
    static const char kScheme[] = "file:";
    if (text.size() < sizeof kScheme - 1) return false;
    for (std::size_t i = 0; i + 1 < sizeof kScheme; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kScheme[i]) return false;
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes %XX escapes; a '%' not followed by two hexadecimal digits stays.
std::string DecodePercentEscapes(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The authority of a file URI with the scheme removed ("//authority/path"),
// empty when it has none.
std::string UriAuthority(const std::string& afterScheme) {
    if (afterScheme.compare(0, 2, "//") != 0) return std::string();
    const std::size_t pathStart = afterScheme.find('/', 2);
    return afterScheme.substr(2, pathStart == std::string::npos ? std::string::npos : pathStart - 2);
}

bool IsLocalHost(const std::string& authority) {
    std::string host = authority;
    for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return host.empty() || host == "localhost";
}

// The path of a file URI with the scheme removed: "//authority/path" or "/path".
std::string UriPath(const std::string& afterScheme) {
    if (afterScheme.compare(0, 2, "//") != 0) return afterScheme;
    const std::size_t pathStart = afterScheme.find('/', 2);
    const std::string authority = UriAuthority(afterScheme);
    const std::string path = pathStart == std::string::npos ? "/" : afterScheme.substr(pathStart);
    if (IsLocalHost(authority)) return path;
    return "//" + authority + path;
}

// True when the text begins with a URI scheme ("http:", "ftp:", ...): a
// letter, then letters, digits, '+', '-' or '.', then ':'.
bool HasScheme(const std::string& text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ':') return true;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return false;
}

}  // namespace

std::string ResourceLocationToPath(const std::string& fmuResourceLocation) {
    std::string folder = fmuResourceLocation;
    if (StartsWithFileScheme(folder))
        folder = DecodePercentEscapes(UriPath(folder.substr(5)));
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool IsLocalResourceLocation(const std::string& fmuResourceLocation) {
    if (!StartsWithFileScheme(fmuResourceLocation)) return !HasScheme(fmuResourceLocation);
    const std::string afterScheme = fmuResourceLocation.substr(5);
    if (!IsLocalHost(UriAuthority(afterScheme))) return false;
    return DecodePercentEscapes(afterScheme).find('\0') == std::string::npos;
}
