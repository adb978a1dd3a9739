// The grammar rules, in the order the parser tries them.
#include "c_parser.h"

#include "native_stack.h"

#include <limits>

namespace orvane {

namespace {

const char* const kTooDeep = "Verschachtelung zu tief";

bool isValueType(std::int32_t typ) {
    return typ == ttGenTypeInt || typ == ttGenTypeBool || typ == ttGenTypeString;
}

bool isAssignmentOperator(std::int32_t typ) {
    return typ == ttGleich || typ == ttPlusGleich || typ == ttMinusGleich || typ == ttMalGleich ||
           typ == ttGeteiltGleich || typ == ttModuloGleich;
}

bool isStepOperator(std::int32_t typ) {
    return typ == ttPlusPlus || typ == ttMinusMinus;
}

} // namespace

TParser::TParser(TScanner& scanner, MessageDialog& dialog) : fScanner(scanner), m_dialog(dialog) {}

tNode* TParser::newNode(std::int32_t symbol_, std::string_view text_) {
    return m_arena.make(symbol_, text_);
}

tNode* TParser::insertChildNode(tNode* parent_, tNode* node_) {
    return appendChild(parent_, node_);
}

tNode* TParser::copyNode(const tNode* node) {
    tNode* copy = m_arena.make(node->symbol, node->text);
    copy->line = node->line;
    copy->column = node->column;
    return copy;
}

tNode* TParser::copyTree(const tNode* node) {
    tNode* first = nullptr;
    tNode* previous = nullptr;
    for (; node != nullptr; node = node->nextSibling) {
        tNode* copy = copyNode(node);
        copy->firstChild = copyTree(node->firstChild);
        (previous != nullptr ? previous->nextSibling : first) = copy;
        previous = copy;
    }
    return first;
}

// Nesting of blocks and expressions is refused with a syntax error once the descent has used the
// native stack's budget, so that no script can exhaust the stack, whatever its size.
bool TParser::mayNest() {
    if (m_tooDeep)
        return false;
    if (!stackBeyond(m_stackBase, static_cast<const char*>(__builtin_frame_address(0)),
                     m_stackBudget))
        return true;
    m_tooDeep = true;
    // This error is kept whatever was recorded before: the parse stops here.
    maxFehlerTokenNr = std::numeric_limits<std::int32_t>::min();
    addError(kTooDeep, fScanner.getReadPosition());
    return false;
}

void TParser::addError(std::string_view message, const tToken* token) {
    fehlerFlag = true;
    const std::int32_t index = token != nullptr ? token->index : -1;
    if (index <= maxFehlerTokenNr)
        return;
    const std::int32_t line = token != nullptr ? token->line : 0;
    const std::int32_t column = token != nullptr ? token->column : 0;
    fehlerText = std::string(message) + "\rZeile: " + std::to_string(line) +
                 ", Spalte: " + std::to_string(column);
    maxFehlerTokenNr = index;
    m_retained = {std::string(message), line, column};
}

std::int32_t TParser::peekType() const {
    const tToken* next = fScanner.getReadPosition();
    return next != nullptr ? next->typ : ttEndOfFile;
}

tToken* TParser::expect(std::int32_t kind, const char* message) {
    tToken* t = read();
    if (t->typ == kind)
        return t;
    addError(message, t);
    return nullptr;
}

bool TParser::fail(tToken* start) {
    fScanner.setReadPosition(start);
    return false;
}

tNode* TParser::nodeFrom(std::int32_t symbol, const tToken* token, std::string_view text) {
    tNode* node = m_arena.make(symbol, text);
    node->line = static_cast<std::uint32_t>(token->line);
    node->column = static_cast<std::uint32_t>(token->column);
    return node;
}

// program -> { function-declaration | variable-declaration ";" }
bool TParser::parse(tToken* rootToken) {
    maxFehlerTokenNr = -1;
    rootBaum = newNode(ttStart, "");
    fScanner.setReadPosition(rootToken);
    fehlerFlag = false;
    m_tooDeep = false;
    m_failedOperands.clear();
    m_stackBase = static_cast<const char*>(__builtin_frame_address(0));
    m_stackBudget = nativeStackBudget();
    while (peekType() != ttEndOfFile && !fehlerFlag && !m_tooDeep) {
        tNode* declaration = nullptr;
        if (tryParseFunctionDeclaration(declaration)) {
            insertChildNode(rootBaum, declaration);
            fehlerFlag = false;
        } else if (tryParseVarDeclaration(declaration)) {
            tToken* t = read();
            if (t->typ == ttSemikolon) {
                insertChildNode(rootBaum, declaration);
                fehlerFlag = false;
            } else {
                addError("Semikolon erwartet", t);
            }
        }
    }
    if (!fehlerFlag && !m_tooDeep)
        return true;
    m_dialog.show("Es ist ein Fehler aufgetreten:\r\r" + fehlerText, "Fehler", mbOk);
    return false;
}

// function-declaration -> type FUNCTION-ID parameter-list block
bool TParser::tryParseFunctionDeclaration(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (m_tooDeep)
        return false;
    tToken* type = read();
    if (!isValueType(type->typ) && type->typ != ttGenTypeVoid) {
        addError("Rückgabetyp erwartet", type);
        return fail(start);
    }
    tToken* name = expect(ttFunctionID, "Funktionsbezeichner erwartet");
    if (name == nullptr)
        return fail(start);
    tNode* function = nodeFrom(ttFuncDekl, name, name->text);
    insertChildNode(function, nodeFrom(type->typ, type));
    tNode* parameters = nullptr;
    if (!tryParseParameterList(parameters))
        return fail(start);
    insertChildNode(function, parameters);
    tNode* body = nullptr;
    if (!tryParseBlock(body))
        return fail(start);
    insertChildNode(function, body);
    retBaum = function;
    return true;
}

// parameter-list -> "(" [ parameter { "," parameter } ] ")"
bool TParser::tryParseParameterList(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* open = expect(ttKlammerAuf, "Klammer auf erwartet");
    if (open == nullptr)
        return fail(start);
    tNode* parameters = newNode(ttParameters, "");
    tNode* parameter = nullptr;
    if (!tryParseParameter(parameter)) {
        if (read()->typ != ttKlammerZu)
            return fail(start);
        retBaum = nullptr; // "()" has no parameter node at all
        return true;
    }
    insertChildNode(parameters, parameter);
    for (;;) {
        tToken* u = read();
        if (u->typ == ttKlammerZu)
            break;
        addError("Klammer zu erwartet nach parameter-def-list", u);
        if (u->typ != ttKomma) {
            addError("Komma erwartet", u);
            return fail(start);
        }
        if (!tryParseParameter(parameter)) {
            addError("Klammer zu erwartet nach parameter-def-list", u);
            return fail(start);
        }
        insertChildNode(parameters, parameter);
    }
    retBaum = parameters;
    return true;
}

// parameter -> value-type VAR-ID
bool TParser::tryParseParameter(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* type = read();
    if (!isValueType(type->typ)) {
        addError("Datentyp erwartet", type);
        return fail(start);
    }
    tToken* name = expect(ttVarID, "Bezeichner erwaret");
    if (name == nullptr)
        return fail(start);
    tNode* declaration = newNode(ttVarDekl, "");
    insertChildNode(declaration, nodeFrom(type->typ, type));
    insertChildNode(declaration, nodeFrom(ttVarID, name, name->text));
    retBaum = declaration;
    return true;
}

// variable-declaration -> value-type VAR-ID [ "[]" ] { "," VAR-ID }
bool TParser::tryParseVarDeclaration(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (m_tooDeep)
        return false;
    tToken* type = read();
    if (!isValueType(type->typ)) {
        addError("Datentyp erwartet", type);
        return fail(start);
    }
    tToken* name = expect(ttVarID, "Bezeichner erwartet");
    if (name == nullptr)
        return fail(start);
    tNode* typeNode = nodeFrom(type->typ, type);
    if (peekType() == ttArrayDeclarator)
        insertChildNode(typeNode, nodeFrom(ttGenTypeArray, read()));
    tNode* declaration = newNode(ttVarDekl, "");
    insertChildNode(declaration, typeNode);
    insertChildNode(declaration, nodeFrom(ttVarID, name, name->text));
    while (peekType() == ttKomma) {
        read();
        tToken* more = read();
        if (more->typ != ttVarID) {
            addError("Bezeichner erwartet", more);
            return fail(start);
        }
        insertChildNode(declaration, nodeFrom(ttVarID, more, more->text));
    }
    retBaum = declaration;
    return true;
}

// block -> statement | "{" { statement } "}"
bool TParser::tryParseBlock(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (!mayNest())
        return fail(start);
    tNode* block = newNode(ttBlock, "");
    tNode* statement = nullptr;
    if (tryParseStatement(statement)) {
        insertChildNode(block, statement);
        retBaum = block;
        return true;
    }
    if (read()->typ != ttGeschweifteAuf)
        return fail(start);
    while (tryParseStatement(statement))
        insertChildNode(block, statement);
    if (read()->typ != ttGeschweifteZu)
        return fail(start);
    retBaum = block;
    return true;
}

bool TParser::parseSemikolon() {
    tToken* t = read();
    if (t->typ == ttSemikolon)
        return true;
    addError("Semikolon erwartet", t);
    return false;
}

// statement -> assignment ";" | if | call ";" | return | while | do | for | declaration ";"
bool TParser::tryParseStatement(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (m_tooDeep)
        return false;
    if (tryParseAssignment(retBaum))
        return parseSemikolon() || fail(start);
    if (tryParseIf(retBaum))
        return true;
    if (tryParseFunctionCall(retBaum))
        return parseSemikolon() || fail(start);
    if (tryParseReturn(retBaum) || tryParseWhile(retBaum) || tryParseDoWhile(retBaum) ||
        tryParseFor(retBaum))
        return true;
    if (tryParseVarDeclaration(retBaum))
        return parseSemikolon() || fail(start);
    return fail(start);
}

// assignment -> VAR-ID ( assign-op expression | "++" | "--" )
//             | VAR-ID "[" expression "]" ( assign-op expression | "++" | "--" )
bool TParser::tryParseAssignment(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (m_tooDeep)
        return false;
    tToken* name = read();
    if (name->typ != ttVarID)
        return fail(start);
    tNode* target = nodeFrom(ttVarID, name, name->text);
    tToken* op = read();
    if (op->typ != ttEckigeAuf)
        return parseAssignmentTail(target, op, op, retBaum) || fail(start);
    tNode* index = nullptr;
    if (!tryParseExpression(index)) {
        addError("Ausdruck erwartet", op);
        return fail(start);
    }
    tToken* close = expect(ttEckigeZu, "Eckige Klammer zu erwartet");
    if (close == nullptr)
        return fail(start);
    insertChildNode(target, index);
    return parseAssignmentTail(target, read(), op, retBaum) || fail(start);
}

// The operator part of an assignment; a missing expression is recorded at `errorAt`.
bool TParser::parseAssignmentTail(tNode* target, const tToken* op, const tToken* errorAt,
                                  tNode*& retBaum) {
    if (isStepOperator(op->typ)) {
        retBaum = nodeFrom(op->typ, op);
        insertChildNode(retBaum, target);
        return true;
    }
    if (!isAssignmentOperator(op->typ)) {
        addError("Zuweisungsoperator erwartet", op);
        return false;
    }
    tNode* value = nullptr;
    if (!tryParseExpression(value)) {
        addError("Ausdruck erwartet", errorAt);
        return false;
    }
    retBaum = nodeFrom(op->typ, op);
    insertChildNode(retBaum, target);
    insertChildNode(retBaum, value);
    return true;
}

// if -> IF "(" expression ")" block [ ELSE block ]
bool TParser::tryParseIf(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* keyword = read();
    if (keyword->typ != ttIf)
        return fail(start);
    tToken* open = expect(ttKlammerAuf, "Klammer auf erwartet");
    if (open == nullptr)
        return fail(start);
    tNode* condition = nullptr;
    if (!tryParseExpression(condition))
        return fail(start);
    tToken* close = expect(ttKlammerZu, "Klammer zu erwartet nach if-cond");
    if (close == nullptr)
        return fail(start);
    tNode* thenPart = nullptr;
    if (!tryParseBlock(thenPart))
        return fail(start);
    tNode* node = nodeFrom(ttIfThenElseBlock, keyword);
    insertChildNode(node, condition);
    insertChildNode(node, thenPart);
    if (peekType() == ttElse) {
        read();
        tNode* elsePart = nullptr;
        if (!tryParseBlock(elsePart))
            return fail(start);
        insertChildNode(node, elsePart);
    }
    retBaum = node;
    return true;
}

// while -> WHILE "(" expression ")" block
bool TParser::tryParseWhile(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* keyword = read();
    if (keyword->typ != ttWhile)
        return fail(start);
    tToken* open = expect(ttKlammerAuf, "Klammer Auf erwartet");
    if (open == nullptr)
        return fail(start);
    tNode* condition = nullptr;
    if (!tryParseExpression(condition))
        return fail(start);
    tToken* close = expect(ttKlammerZu, "Klammer zu erwartet nach prewhile");
    if (close == nullptr)
        return fail(start);
    tNode* body = nullptr;
    if (!tryParseBlock(body))
        return fail(start);
    retBaum = nodeFrom(ttWhile, keyword);
    insertChildNode(retBaum, condition);
    insertChildNode(retBaum, body);
    return true;
}

// do -> DO block WHILE "(" expression ")"
bool TParser::tryParseDoWhile(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* keyword = read();
    if (keyword->typ != ttDo)
        return fail(start);
    tNode* body = nullptr;
    if (!tryParseBlock(body)) {
        addError("Anweisung(en) erwartet", keyword);
        return fail(start);
    }
    tToken* loopWord = read();
    if (loopWord->typ != ttWhile) {
        addError("\"while\" erwartet", loopWord);
        return fail(start);
    }
    tToken* open = read();
    if (open->typ != ttKlammerAuf) {
        addError("Klammer Auf erwartet", loopWord);
        return fail(start);
    }
    tNode* condition = nullptr;
    if (!tryParseExpression(condition)) {
        addError("Bedingung erwartet", open);
        return fail(start);
    }
    tToken* close = expect(ttKlammerZu, "Klammer zu erwartet nach postwhile cond");
    if (close == nullptr)
        return fail(start);
    retBaum = nodeFrom(ttDo, keyword);
    insertChildNode(retBaum, body);
    insertChildNode(retBaum, condition);
    return true;
}

// return -> RETURN expression ";"
bool TParser::tryParseReturn(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* keyword = read();
    if (keyword->typ != ttReturn)
        return fail(start);
    tNode* value = nullptr;
    if (!tryParseExpression(value)) {
        addError("Ausdruck erwartet", keyword);
        return fail(start);
    }
    if (!parseSemikolon())
        return fail(start);
    retBaum = nodeFrom(ttReturn, keyword);
    insertChildNode(retBaum, value);
    return true;
}

// for -> FOR "(" assignment ";" expression ";" assignment ")" block
bool TParser::tryParseFor(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    tToken* keyword = read();
    if (keyword->typ != ttFor)
        return fail(start);
    tToken* open = expect(ttKlammerAuf, "Klammer auf erwartet");
    if (open == nullptr)
        return fail(start);
    tNode* init = nullptr;
    if (!tryParseAssignment(init)) {
        addError("Startbedingung erwartet", open);
        return fail(start);
    }
    tToken* firstSemikolon = fScanner.getReadPosition();
    if (!parseSemikolon())
        return fail(start);
    tNode* condition = nullptr;
    if (!tryParseExpression(condition)) {
        addError("Abbruchbedinung erwartet", firstSemikolon);
        return fail(start);
    }
    tToken* secondSemikolon = fScanner.getReadPosition();
    if (!parseSemikolon())
        return fail(start);
    tNode* step = nullptr;
    if (!tryParseAssignment(step)) {
        addError("Schleifenzähl-Anweisung erwartet", secondSemikolon);
        return fail(start);
    }
    tToken* close = expect(ttKlammerZu, "Klammer zu erwartet nach for-dekl");
    if (close == nullptr)
        return fail(start);
    tNode* body = nullptr;
    if (!tryParseBlock(body)) {
        addError("Anweisungsblock erwartet", close);
        return fail(start);
    }
    retBaum = nodeFrom(ttFor, keyword);
    for (tNode* part : {init, condition, step, body})
        insertChildNode(retBaum, part);
    return true;
}

// One binary level: operand { op operand }, nesting to the left. An operator whose
// right operand fails is put back and the level ends with what it has.
bool TParser::parseLeftAssociative(tNode*& retBaum, Rule operand, OperandRule operandBit,
                                   std::initializer_list<std::int32_t> ops) {
    tNode* left = nullptr;
    if (!parseOperand(operand, operandBit, left))
        return false;
    for (;;) {
        const std::int32_t next = peekType();
        bool isOp = false;
        for (std::int32_t op : ops)
            isOp = isOp || op == next;
        if (!isOp)
            break;
        tToken* op = read();
        tNode* right = nullptr;
        if (!parseOperand(operand, operandBit, right)) {
            fScanner.setReadPosition(op);
            break;
        }
        tNode* combined = nodeFrom(op->typ, op);
        insertChildNode(combined, left);
        insertChildNode(combined, right);
        left = combined;
    }
    retBaum = left;
    return true;
}

bool TParser::parseOperand(Rule rule, OperandRule bit, tNode*& retBaum) {
    const tToken* start = fScanner.getReadPosition();
    if (start == nullptr)
        return (this->*rule)(retBaum);
    const auto index = static_cast<std::size_t>(start->index);
    if (index < m_failedOperands.size() && (m_failedOperands[index] & bit) != 0)
        return false;
    if ((this->*rule)(retBaum))
        return true;
    if (index >= m_failedOperands.size())
        m_failedOperands.resize(index + 1);
    m_failedOperands[index] |= bit;
    return false;
}

// expression -> T1 { ("+" | "-") T1 }
bool TParser::tryParseExpression(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (!mayNest())
        return fail(start);
    tNode* left = nullptr;
    if (!parseOperand(&TParser::tryParseT1, kT1, left))
        return fail(start);
    while (peekType() == ttPlus || peekType() == ttMinus) {
        tToken* op = read();
        tNode* right = nullptr;
        if (!parseOperand(&TParser::tryParseT1, kT1, right)) {
            addError("T1 erwartet", op);
            fScanner.setReadPosition(op);
            break;
        }
        tNode* combined = nodeFrom(op->typ, op);
        insertChildNode(combined, left);
        insertChildNode(combined, right);
        left = combined;
    }
    retBaum = left;
    return true;
}

// T1 -> T2 { ("*" | "/" | "%") T2 }
bool TParser::tryParseT1(tNode*& retBaum) {
    return parseLeftAssociative(retBaum, &TParser::tryParseT2, kT2, {ttMal, ttGeteilt, ttModulo});
}

// T2 -> T3 { "||" T3 }
bool TParser::tryParseT2(tNode*& retBaum) {
    return parseLeftAssociative(retBaum, &TParser::tryParseT3, kT3, {ttOr});
}

// T3 -> T4 { "&&" T4 }
bool TParser::tryParseT3(tNode*& retBaum) {
    return parseLeftAssociative(retBaum, &TParser::tryParseT4, kT4, {ttAnd});
}

// T4 -> T5 { ("==" | "!=" | "<" | ">" | "<=" | ">=") T5 }
bool TParser::tryParseT4(tNode*& retBaum) {
    return parseLeftAssociative(retBaum, &TParser::tryParseT5, kT5,
                                {ttGleichGleich, ttUngleich, ttKleinerAls, ttGroesserAls,
                                 ttKleinerGleich, ttGroesserGleich});
}

// T5 -> NUMBER | STRING | TRUE | FALSE | "(" expression ")" | "!" expression | call
//     | VAR-ID [ "[" expression "]" ]
bool TParser::tryParseT5(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (m_tooDeep)
        return false;
    tToken* t = read();
    switch (t->typ) {
    case ttNumber:
    case ttStringConst:
        retBaum = nodeFrom(t->typ, t, t->text);
        return true;
    case ttTrue:
    case ttFalse:
        retBaum = nodeFrom(t->typ, t);
        return true;
    case ttKlammerAuf: {
        tNode* inner = nullptr;
        if (!tryParseExpression(inner))
            return fail(start);
        tToken* close = read();
        if (close->typ != ttKlammerZu) {
            addError("Klammer zu erwartet bei t5", close);
            return fail(start);
        }
        inner->bracketed = true;
        retBaum = inner;
        return true;
    }
    case ttNot: {
        tNode* operand = nullptr;
        if (!tryParseExpression(operand))
            return fail(start);
        retBaum = nodeFrom(ttNot, t);
        insertChildNode(retBaum, operand);
        return true;
    }
    case ttFunctionID:
        fScanner.setReadPosition(start);
        return tryParseFunctionCall(retBaum);
    case ttVarID: {
        tNode* variable = nodeFrom(ttVarID, t, t->text);
        if (peekType() == ttEckigeAuf) {
            tToken* open = read();
            tNode* index = nullptr;
            if (!tryParseExpression(index)) {
                addError("Ausdruck erwartet", open);
                return fail(start);
            }
            tToken* close = read();
            if (close->typ != ttEckigeZu) {
                addError("Eckige Klammer zu erwartet", close);
                return fail(start);
            }
            insertChildNode(variable, index);
        }
        retBaum = variable;
        return true;
    }
    default:
        return fail(start);
    }
}

// call -> FUNCTION-ID "(" [ expression { "," expression } [ "," ] ] ")"
bool TParser::tryParseFunctionCall(tNode*& retBaum) {
    tToken* start = fScanner.getReadPosition();
    if (m_tooDeep)
        return false;
    tToken* name = read();
    if (name->typ != ttFunctionID)
        return fail(start);
    tNode* call = nodeFrom(ttFuncCall, name, name->text);
    tToken* open = expect(ttKlammerAuf, "Klammer auf erwartet");
    if (open == nullptr)
        return fail(start);
    tNode* argument = nullptr;
    while (tryParseExpression(argument)) {
        insertChildNode(call, argument);
        if (peekType() != ttKomma)
            break;
        read();
    }
    tToken* close = expect(ttKlammerZu, "Klammer zu erwartet nach funktionsaufruf");
    if (close == nullptr)
        return fail(start);
    retBaum = call;
    return true;
}

} // namespace orvane
