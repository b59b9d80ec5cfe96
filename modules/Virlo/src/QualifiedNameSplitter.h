#ifndef VIRLO_QUALIFIED_NAME_SPLITTER_H
#define VIRLO_QUALIFIED_NAME_SPLITTER_H

#include <cstdint>
#include <string>
#include <vector>

// A symbol name cut into tokens at "::" (ns::Engine::speed gives ns, Engine,
// speed), walked token by token through namespaces and classes. Runs of ':'
// separate tokens and empty pieces are skipped.
class QualifiedNameSplitter {
public:
    explicit QualifiedNameSplitter(std::string name);

    const std::string& Name() const { return name; }
    // The token at index, or empty when there are no tokens.
    std::string CurrentToken() const;
    // The token after index, or empty when there is none.
    std::string NextToken() const;
    // Moves to the next token; false when there is none.
    bool Advance();
    // The name contains "::".
    bool IsQualified() const;
    // The name is not empty and index is at its last token.
    bool IsLastToken() const;

    // Set once the record of the whole qualified name has been stored.
    bool fullNameRecorded = false;

private:
    static constexpr const char* delimiter = "::";
    std::string name;
    std::vector<std::string> tokens;
    uint64_t index = 0;
};

#endif
