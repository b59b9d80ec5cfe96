#include "NameMask.h"

#include <cctype>

namespace dbghelp {
namespace {

bool SameCharacter(char a, char b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask, bool ignoreCase) {
    // Greedy match that backtracks only to the last '*': linear in practice
    // and never exponential.
    size_t n = 0, m = 0;
    size_t starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || SameCharacter(mask[m], name[n], ignoreCase))) {
            ++m, ++n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace dbghelp
