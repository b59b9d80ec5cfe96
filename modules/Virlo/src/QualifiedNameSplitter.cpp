#include "QualifiedNameSplitter.h"

QualifiedNameSplitter::QualifiedNameSplitter(std::string name_) : name(std::move(name_)) {
    if (name.empty()) return;
    if (!IsQualified()) {
        tokens.push_back(name);
        return;
    }
    // Every character of the delimiter separates, as strtok cuts.
    const std::string separators = delimiter;
    size_t start = name.find_first_not_of(separators);
    while (start != std::string::npos) {
        const size_t end = name.find_first_of(separators, start);
        tokens.push_back(name.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? end : name.find_first_not_of(separators, end);
    }
}

std::string QualifiedNameSplitter::CurrentToken() const {
    return index < tokens.size() ? tokens[index] : std::string();
}

std::string QualifiedNameSplitter::NextToken() const {
    return index + 1 < tokens.size() ? tokens[index + 1] : std::string();
}

bool QualifiedNameSplitter::Advance() {
    if (index + 1 >= tokens.size()) return false;
    ++index;
    return true;
}

bool QualifiedNameSplitter::IsQualified() const { return name.find(delimiter) != std::string::npos; }

bool QualifiedNameSplitter::IsLastToken() const {
    return !name.empty() && !tokens.empty() && index == tokens.size() - 1;
}
