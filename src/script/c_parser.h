// TParser: recursive descent with backtracking from the token list to the syntax tree.
//
// Every rule remembers the scanner's cursor when it starts and puts it back when it
// fails, so the caller can try its next alternative. Syntax errors are recorded, not
// raised: of all errors of a parse the first one recorded at the furthest token is
// kept (addError) and shown in one message box when the parse fails. Errors recorded
// by alternatives that fail on the way to a successful parse stay recorded too, but
// they lie before any later real error, so they never hide it.
//
// The parser owns every node in its arena; the tree in rootBaum lives as long as the
// parser. Since no rule ever links a node into two places, the tree needs no copies.
#pragma once

#include "c_scanner.h"
#include "message_dialog.h"
#include "syntax_tree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct SyntaxErrorInfo {
    std::string message; // the grammar's message without the position line
    std::int32_t line = 0;
    std::int32_t column = 0;
};

class TParser {
  public:
    TParser(TScanner& scanner, MessageDialog& dialog);

    // Builds the tree under rootBaum; false after showing the syntax-error box.
    bool parse(tToken* rootToken);

    bool tryParseExpression(tNode*& retBaum);
    bool tryParseBlock(tNode*& retBaum);
    bool tryParseFunctionCall(tNode*& retBaum);

    tNode* newNode(std::int32_t symbol_, std::string_view text_);
    tNode* insertChildNode(tNode* parent_, tNode* node_);
    tNode* copyNode(const tNode* node);
    tNode* copyTree(const tNode* node);

    // The retained syntax error in parts (valid after a failed parse).
    const SyntaxErrorInfo& retainedError() const { return m_retained; }

    TScanner& fScanner;
    std::string fehlerText;
    std::int32_t maxFehlerTokenNr = -1;
    tNode* rootBaum = nullptr;
    bool fehlerFlag = false;

  private:
    bool tryParseFunctionDeclaration(tNode*& retBaum);
    bool tryParseParameterList(tNode*& retBaum);
    bool tryParseParameter(tNode*& retBaum);
    bool tryParseVarDeclaration(tNode*& retBaum);
    bool tryParseStatement(tNode*& retBaum);
    bool tryParseAssignment(tNode*& retBaum);
    bool tryParseIf(tNode*& retBaum);
    bool tryParseWhile(tNode*& retBaum);
    bool tryParseDoWhile(tNode*& retBaum);
    bool tryParseFor(tNode*& retBaum);
    bool tryParseReturn(tNode*& retBaum);
    bool tryParseT1(tNode*& retBaum);
    bool tryParseT2(tNode*& retBaum);
    bool tryParseT3(tNode*& retBaum);
    bool tryParseT4(tNode*& retBaum);
    bool tryParseT5(tNode*& retBaum);

    using Rule = bool (TParser::*)(tNode*&);
    // The operand rules, one bit each in m_failedOperands.
    enum OperandRule : std::uint8_t { kT1 = 1, kT2 = 2, kT3 = 4, kT4 = 8, kT5 = 16 };
    bool parseLeftAssociative(tNode*& retBaum, Rule operand, OperandRule operandBit,
                              std::initializer_list<std::int32_t> ops);
    // Runs the operand rule `rule` at the cursor unless it already failed at this token.
    bool parseOperand(Rule rule, OperandRule bit, tNode*& retBaum);
    bool parseSemikolon();
    bool parseAssignmentTail(tNode* target, const tToken* op, const tToken* errorAt,
                             tNode*& retBaum);

    void addError(std::string_view message, const tToken* token);
    tToken* read() { return fScanner.readToken(); }
    // Reads the next token; when it is not of `kind`, records `message` at it and
    // returns null.
    tToken* expect(std::int32_t kind, const char* message);
    std::int32_t peekType() const;
    bool fail(tToken* start);
    tNode* nodeFrom(std::int32_t symbol, const tToken* token, std::string_view text = {});

    // Bounds the recursion of nested blocks and expressions by the native stack.
    bool mayNest();

    MessageDialog& m_dialog;
    NodeArena m_arena;
    SyntaxErrorInfo m_retained;
    const char* m_stackBase = nullptr; // the frame of the running parse
    std::size_t m_stackBudget = 0;
    bool m_tooDeep = false;
    // Per token index, the operand rules that failed there. A rule fails the same way each time
    // it starts at the same token; without this, each level that puts back an operator tries
    // the same failing operand again, and "f(a +! b +! c ... (" takes exponential time.
    std::vector<std::uint8_t> m_failedOperands;
};

} // namespace orvane
