// TScanner: turns the script's lines into the token list and serves the parser as a cursor over it.
//
// The scanner owns every token it made (stable addresses in a deque) for as long as
// it lives; the list is singly linked through tToken::next and ends with exactly one
// ttEndOfFile token. Errors are raised as ScriptError with the scan's stage number.
#pragma once

#include "c_keys.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class TScanner {
  public:
    TScanner();

    // Builds the token list from `lines` (without line-break characters).
    void scan(const std::vector<std::string>& lines);

    tToken* readToken();
    std::int32_t readTokenType();
    tToken* getReadPosition() const { return readPosition; }
    void setReadPosition(tToken* t) { readPosition = t; }
    // The type of the token `ahead` + 1 steps after `tok`, or 0 when the list ends first.
    std::int32_t getTokenType(const tToken* tok, std::int32_t ahead) const;

    std::string int2typestring(std::int32_t i) const;
    std::string getTokenTypeAsString(const tToken* t) const;
    static std::string Typ2Str(std::int32_t typ);

    tToken* token = nullptr; // first token of the list
    std::string termSym;

  private:
    void splitLine(std::string_view line, std::int32_t lineNumber, std::int64_t lineBase);
    void addToken(std::string_view text, std::int32_t line, std::int32_t column,
                  std::int64_t offset);
    void joinTokens();
    tToken* GetLastToken() const { return m_last; }
    void classifyTokens();
    void appendEndOfFile();
    void finishTokens();

    tToken* readPosition = nullptr;
    tToken* m_last = nullptr; // kept so that appending never walks the list
    std::deque<tToken> m_storage;
};

// Splits a script text into lines at CR LF, lone CR and lone LF.
std::vector<std::string> splitScriptLines(std::string_view text);

} // namespace orvane
