// Evaluation of statements and expressions.
#include "c_interpreter.h"

#include "int_operators.h"
#include "runtime_errors.h"
#include "short_text.h"

#include <limits>
#include <utility>
#include <vector>

namespace orvane {

namespace {

// Stamp marking a number node whose value has been read once (a number's value never
// depends on the function table, so it needs no preparation stamp).
constexpr std::uint32_t kNumberStamp = std::numeric_limits<std::uint32_t>::max();

std::string concatenated(const std::string& left, const std::string& right) {
    std::string text;
    text.reserve(std::min(left.size() + right.size(), kMaxTextBytes + 4));
    text.append(left).append(right, 0, kMaxTextBytes + 4);
    cutTextInPlace(text);
    return text;
}

// Two int values that are not whole arrays: operators take them as they are.
bool bothPlainInts(const Value& left, const Value& right) {
    return left.typ == ttGenTypeInt && right.typ == ttGenTypeInt && !left.isArray() &&
           !right.isArray();
}

// Assignments, increments and compound assignments: statements that write a variable and
// yield no value.
bool isWriteStatement(std::int32_t symbol) {
    return symbol == ttGleich || symbol == ttPlusPlus || symbol == ttMinusMinus ||
           symbol == ttPlusGleich || symbol == ttMinusGleich || symbol == ttMalGleich ||
           symbol == ttGeteiltGleich || symbol == ttModuloGleich;
}

// The operators with two operands, all evaluated left operand first.
bool isBinary(std::int32_t symbol) {
    return isArithmetic(symbol) || isComparison(symbol) || symbol == ttAnd || symbol == ttOr;
}

// Trims a node stack back to the size it had when the mark was made, also when an error leaves.
class SpineMark {
  public:
    SpineMark(std::vector<const tNode*>& spine, std::size_t size) : m_spine(spine), m_size(size) {}
    ~SpineMark() { m_spine.resize(m_size); }
    SpineMark(const SpineMark&) = delete;
    SpineMark& operator=(const SpineMark&) = delete;

  private:
    std::vector<const tNode*>& m_spine;
    std::size_t m_size;
};

const tNode* secondChild(const tNode* node) {
    return node->firstChild != nullptr ? node->firstChild->nextSibling : nullptr;
}

} // namespace

Value TCInterpreterEx::evaluate(const tNode* node, tVariable* varStack, tVariable*& newVarStack) {
    newVarStack = varStack;
    // Counted before the null check: a loop with an empty body still spends a step per round.
    spendStep();
    if (node == nullptr)
        return Value{};
    checkNativeStack();
    switch (node->symbol) {
    case ttNumber:
        return evaluateNumber(node);
    case ttStringConst:
        return Value{ttGenTypeString, 0, node->text, nullptr};
    case ttTrue:
    case ttFalse:
        return generateBoolData(node->symbol == ttTrue);
    case ttVarID:
        return evaluateVariable(node, varStack);
    case ttFuncCall: {
        tVariable* unchanged = nullptr;
        return callFunction(node, varStack, unchanged);
    }
    case ttPlus:
    case ttMinus:
    case ttMal:
    case ttGeteilt:
    case ttModulo:
    case ttKleinerAls:
    case ttGroesserAls:
    case ttKleinerGleich:
    case ttGroesserGleich:
    case ttGleichGleich:
    case ttUngleich:
    case ttAnd:
    case ttOr:
        return evaluateBinary(node, varStack);
    case ttNot:
        return evaluateNot(node, varStack);
    case ttGleich:
        evaluateAssignment(node, varStack);
        return Value{};
    case ttPlusPlus:
    case ttMinusMinus:
        evaluateStep(node, varStack);
        return Value{};
    case ttPlusGleich:
    case ttMinusGleich:
    case ttMalGleich:
    case ttGeteiltGleich:
    case ttModuloGleich:
        evaluateCompound(node, varStack);
        return Value{};
    case ttVarDekl:
        if (node->firstChild != nullptr)
            newVarStack = putVarOnStack(varStack, node->firstChild);
        return Value{};
    case ttBlock:
        return evaluateBlock(node, varStack, newVarStack);
    case ttReturn: {
        tVariable* unchanged = nullptr;
        return evaluate(node->firstChild, varStack, unchanged);
    }
    case ttIfThenElseBlock:
        return evaluateIf(node, varStack, newVarStack);
    case ttWhile:
        return evaluateWhile(node, varStack, newVarStack);
    case ttDo:
        return evaluateDo(node, varStack, newVarStack);
    case ttFor:
        evaluateFor(node, varStack);
        return Value{};
    default:
        return Value{};
    }
}

Value TCInterpreterEx::evaluateNumber(const tNode* node) {
    if (node->cacheStamp == kNumberStamp)
        return generateIntData(node->cachedValue);
    std::int32_t value = 0;
    if (!parseIntConstant(node->text, value))
        throw runtime_errors::notAnInteger(node->text);
    node->cachedValue = value;
    node->cacheStamp = kNumberStamp;
    return generateIntData(node->cachedValue);
}

Value TCInterpreterEx::evaluateOperand(const tNode* node, tVariable* varStack,
                                       const tNode* consumer) {
    tVariable* unchanged = nullptr;
    Value value = evaluate(node, varStack, unchanged);
    if (!value.hasValue())
        throw runtime_errors::noValue(consumer->line, consumer->column);
    return value;
}

std::int32_t TCInterpreterEx::evaluateIndexExpression(const tNode* target, tVariable* varStack) {
    const Value index = evaluateOperand(target->firstChild, varStack, target);
    if (index.typ != ttGenTypeInt || index.isArray())
        throw runtime_errors::arithmetic(target->line, target->column);
    return index.intValue;
}

Value TCInterpreterEx::evaluateVariable(const tNode* node, tVariable* varStack) {
    const std::int32_t index = evaluateIndex(node, varStack);
    tVariable* variable = variableToRead(node, varStack);
    return variable != nullptr ? readVariable(*variable, index) : Value{};
}

bool TCInterpreterEx::plainInt(const tNode* node, tVariable* varStack, std::int32_t& value) {
    if (node == nullptr || node->firstChild != nullptr)
        return false;
    if (node->symbol == ttNumber && node->cacheStamp == kNumberStamp) {
        value = node->cachedValue;
        return true;
    }
    if (node->symbol != ttVarID)
        return false;
    const tVariable* variable = lookupVariable(node, varStack);
    if (variable == nullptr || variable->typ != ttGenTypeInt || variable->isArray)
        return false;
    value = variable->intValue;
    return true;
}

Value TCInterpreterEx::evaluateBinary(const tNode* node, tVariable* varStack) {
    std::int32_t a = 0;
    std::int32_t b = 0;
    if (node->symbol != ttAnd && node->symbol != ttOr && plainInt(node->firstChild, varStack, a) &&
        plainInt(secondChild(node), varStack, b)) {
        if (isArithmetic(node->symbol))
            return generateIntData(intArithmetic(node->symbol, a, b));
        return generateBoolData(intComparison(node->symbol, a, b));
    }
    if (node->firstChild != nullptr && isBinary(node->firstChild->symbol))
        return evaluateChain(node, varStack);
    Value left = evaluateOperand(node->firstChild, varStack, node);
    Value right = evaluateOperand(secondChild(node), varStack, node);
    if (node->symbol != ttAnd && node->symbol != ttOr && bothPlainInts(left, right)) {
        if (isArithmetic(node->symbol))
            return generateIntData(intArithmetic(node->symbol, left.intValue, right.intValue));
        return generateBoolData(intComparison(node->symbol, left.intValue, right.intValue));
    }
    return applyBinary(node, std::move(left), std::move(right));
}

// A chain such as 1 + 1 + ... + 1 nests to the left as deep as it is long, so its left spine is
// walked with a loop, not by recursion: the deepest left operand first, then each operator's
// right operand, in the order the recursion would take. Nested chains share m_spine as a stack.
Value TCInterpreterEx::evaluateChain(const tNode* node, tVariable* varStack) {
    const std::size_t base = m_spine.size();
    const SpineMark mark(m_spine, base);
    for (const tNode* op = node; op != nullptr && isBinary(op->symbol); op = op->firstChild)
        m_spine.push_back(op);
    const tNode* deepest = m_spine.back();
    Value left = evaluateOperand(deepest->firstChild, varStack, deepest);
    for (std::size_t k = m_spine.size(); k-- > base;) {
        const tNode* op = m_spine[k];
        left = applyBinary(op, std::move(left), evaluateOperand(secondChild(op), varStack, op));
    }
    return left;
}

Value TCInterpreterEx::applyBinary(const tNode* node, Value leftOperand, Value rightOperand) {
    if (node->symbol == ttAnd)
        return generateBoolData(leftOperand.isTrue() && rightOperand.isTrue());
    if (node->symbol == ttOr)
        return generateBoolData(leftOperand.isTrue() || rightOperand.isTrue());
    if (bothPlainInts(leftOperand, rightOperand)) {
        if (isArithmetic(node->symbol))
            return generateIntData(
                intArithmetic(node->symbol, leftOperand.intValue, rightOperand.intValue));
        return generateBoolData(
            intComparison(node->symbol, leftOperand.intValue, rightOperand.intValue));
    }
    const Value left = slotZeroOf(std::move(leftOperand));
    const Value right = slotZeroOf(std::move(rightOperand));
    const bool arithmetic = isArithmetic(node->symbol);
    const auto mismatch = [&] {
        return arithmetic ? runtime_errors::arithmetic(node->line, node->column)
                          : runtime_errors::comparison(node->line, node->column);
    };
    if (left.typ != right.typ)
        throw mismatch();
    const bool equality = node->symbol == ttGleichGleich || node->symbol == ttUngleich;
    switch (left.typ) {
    case ttGenTypeInt:
        if (arithmetic)
            return generateIntData(intArithmetic(node->symbol, left.intValue, right.intValue));
        return generateBoolData(intComparison(node->symbol, left.intValue, right.intValue));
    case ttGenTypeString:
        if (node->symbol == ttPlus)
            return Value{ttGenTypeString, 0, concatenated(left.text, right.text), nullptr};
        if (equality)
            return generateBoolData((left.text == right.text) == (node->symbol == ttGleichGleich));
        throw mismatch();
    default: // bool: only the bytes can be compared
        if (equality) {
            const bool same = (left.intValue & 0xFF) == (right.intValue & 0xFF);
            return generateBoolData(same == (node->symbol == ttGleichGleich));
        }
        throw mismatch();
    }
}

Value TCInterpreterEx::evaluateNot(const tNode* node, tVariable* varStack) {
    return generateBoolData(!evaluateOperand(node->firstChild, varStack, node).isTrue());
}

void TCInterpreterEx::writeValue(tVariable* varStack, const tNode* target, std::int32_t index,
                                 const Value& value) {
    tVariable* variable = lookupVariable(target, varStack);
    if (variable == nullptr && value.typ == ttGenTypeInt)
        throw ScriptError("Fehler in TCInterpreterEx.setIntVar: Konnte Var " + target->text +
                          " nicht setzen!");
    if (variable == nullptr)
        throw ScriptError("Konnte Var " + target->text + " nicht setzen!");
    switch (value.typ) {
    case ttGenTypeInt:
        writeInt(*variable, value.intValue, index);
        break;
    case ttGenTypeBool:
        writeBool(*variable, static_cast<std::uint8_t>(value.intValue), index);
        break;
    default:
        writeString(*variable, value.text, index);
        break;
    }
}

void TCInterpreterEx::writeArray(tVariable* varStack, const tNode* target,
                                 const tVariable& source) {
    // Checked before anything changes, so a failed assignment leaves the target intact.
    tVariable* variable = FindVarOnAllStacks(varStack, target->text);
    if (variable != nullptr && !variable->isArray)
        throw runtime_errors::notAnArray(target->text);
    if (variable != nullptr && variable->typ != source.typ)
        throw runtime_errors::wrongType(target->text, variable->typ, source.typ);
    setArraySize(varStack, target->text, source.arraySize);
    const auto filled = static_cast<std::int32_t>(source.slotCount()) - 1;
    for (std::int32_t slot = 1; slot <= std::min(source.arraySize, filled); ++slot) {
        const auto k = static_cast<std::size_t>(slot);
        if (source.typ == ttGenTypeString)
            variable->stringSlots[k] = source.stringSlots[k];
        else
            variable->intSlots[k] = source.intSlots[k];
    }
}

void TCInterpreterEx::evaluateAssignment(const tNode* node, tVariable* varStack) {
    const tNode* target = node->firstChild;
    const Value value = evaluateOperand(secondChild(node), varStack, node);
    const std::int32_t index = evaluateIndex(target, varStack);
    if (value.isArray())
        writeArray(varStack, target, *value.array);
    else
        writeValue(varStack, target, index, value);
}

void TCInterpreterEx::evaluateStep(const tNode* node, tVariable* varStack) {
    const tNode* target = node->firstChild;
    const std::int32_t index = evaluateIndex(target, varStack);
    tVariable* variable = variableToRead(target, varStack);
    if (variable == nullptr)
        throw runtime_errors::noValue(node->line, node->column);
    if (variable->typ != ttGenTypeInt)
        throw runtime_errors::arithmetic(node->line, node->column);
    const std::int32_t delta = node->symbol == ttPlusPlus ? 1 : -1;
    std::int32_t& slot = variable->intAt(index);
    slot = wrapInt(std::int64_t{slot} + delta);
}

void TCInterpreterEx::evaluateCompound(const tNode* node, tVariable* varStack) {
    const tNode* target = node->firstChild;
    const std::int32_t index = evaluateIndex(target, varStack);
    tVariable* variable = variableToRead(target, varStack);
    if (variable == nullptr)
        throw runtime_errors::noValue(node->line, node->column);
    std::int32_t plainOperand = 0;
    if (index == -1 && variable->typ == ttGenTypeInt && !variable->isArray &&
        plainInt(secondChild(node), varStack, plainOperand)) {
        variable->intValue = intArithmetic(node->symbol, variable->intValue, plainOperand);
        return;
    }
    if (appendConstantText(node, *variable, index))
        return;
    const Value current = slotZeroOf(readVariable(*variable, index));
    const Value operand = slotZeroOf(evaluateOperand(secondChild(node), varStack, node));
    if (current.typ != operand.typ)
        throw runtime_errors::arithmetic(node->line, node->column);
    if (current.typ == ttGenTypeInt) {
        writeInt(*variable, intArithmetic(node->symbol, current.intValue, operand.intValue), index);
    } else if (current.typ == ttGenTypeString && node->symbol == ttPlusGleich) {
        writeString(*variable, concatenated(current.text, operand.text), index);
    }
    // Other combinations (bools, or texts with -= *= /= %=) change nothing.
}

void TCInterpreterEx::runWriteStatement(const tNode* node, tVariable* varStack) {
    switch (node->symbol) {
    case ttGleich:
        evaluateAssignment(node, varStack);
        break;
    case ttPlusPlus:
    case ttMinusMinus:
        evaluateStep(node, varStack);
        break;
    default:
        evaluateCompound(node, varStack);
        break;
    }
}

bool TCInterpreterEx::appendConstantText(const tNode* node, tVariable& variable,
                                         std::int32_t index) {
    // A constant operand has no side effect that could change the target between reading
    // and writing it, so the text can grow where it is.
    const tNode* operand = secondChild(node);
    if (node->symbol != ttPlusGleich || variable.typ != ttGenTypeString || operand == nullptr ||
        operand->symbol != ttStringConst)
        return false;
    std::string& text = variable.textAt(index);
    text.append(operand->text, 0, kMaxTextBytes + 4);
    cutTextInPlace(text);
    return true;
}

Value TCInterpreterEx::evaluateBlock(const tNode* node, tVariable* varStack,
                                     tVariable*& newVarStack) {
    tVariable* current = varStack;
    for (const tNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
        // Only the last statement run gives the block its value: the last child, or a
        // return, which ends only the block that holds it.
        const bool last = child->nextSibling == nullptr || child->symbol == ttReturn;
        // Writes yield no value and keep the stack, so they need no result built.
        if (isWriteStatement(child->symbol)) {
            spendStep();
            runWriteStatement(child, current);
            if (last)
                break;
            continue;
        }
        if (last) {
            Value result = evaluate(child, current, current);
            newVarStack = current;
            return result;
        }
        evaluate(child, current, current);
    }
    newVarStack = current;
    return Value{};
}

Value TCInterpreterEx::evaluateIf(const tNode* node, tVariable* varStack, tVariable*& newVarStack) {
    const tNode* thenPart = secondChild(node);
    const tNode* elsePart = thenPart != nullptr ? thenPart->nextSibling : nullptr;
    if (evaluateCondition(node->firstChild, varStack, node))
        return evaluateBody(thenPart, varStack, newVarStack);
    return evaluateBody(elsePart, varStack, newVarStack);
}

bool TCInterpreterEx::evaluateCondition(const tNode* condition, tVariable* varStack,
                                        const tNode* consumer) {
    std::int32_t a = 0;
    std::int32_t b = 0;
    if (condition != nullptr && isComparison(condition->symbol) &&
        plainInt(condition->firstChild, varStack, a) &&
        plainInt(secondChild(condition), varStack, b))
        return intComparison(condition->symbol, a, b);
    return evaluateOperand(condition, varStack, consumer).isTrue();
}

Value TCInterpreterEx::evaluateBody(const tNode* body, tVariable* varStack,
                                    tVariable*& newVarStack) {
    if (body == nullptr || body->symbol != ttBlock)
        return evaluate(body, varStack, newVarStack);
    // What evaluate would do for a block, without its dispatch.
    spendStep();
    return evaluateBlock(body, varStack, newVarStack);
}

Value TCInterpreterEx::evaluateWhile(const tNode* node, tVariable* varStack,
                                     tVariable*& newVarStack) {
    Value result;
    if (runFastLoop(node, varStack, result)) {
        newVarStack = varStack;
        return result;
    }
    tVariable* current = varStack;
    while (evaluateCondition(node->firstChild, current, node))
        result = evaluateBody(secondChild(node), current, current);
    newVarStack = current;
    return result;
}

Value TCInterpreterEx::evaluateDo(const tNode* node, tVariable* varStack, tVariable*& newVarStack) {
    Value result;
    if (runFastLoop(node, varStack, result)) {
        newVarStack = varStack;
        return result;
    }
    tVariable* current = varStack;
    do {
        result = evaluateBody(node->firstChild, current, current);
    } while (evaluateCondition(secondChild(node), current, node));
    newVarStack = current;
    return result;
}

void TCInterpreterEx::evaluateFor(const tNode* node, tVariable* varStack) {
    const tNode* start = node->firstChild;
    const tNode* condition = secondChild(node);
    const tNode* step = condition != nullptr ? condition->nextSibling : nullptr;
    const tNode* body = step != nullptr ? step->nextSibling : nullptr;
    tVariable* current = varStack;
    evaluate(start, current, current);
    while (evaluateCondition(condition, current, node)) {
        evaluateBody(body, current, current);
        evaluate(step, current, current);
    }
    // The loop hands back the stack it received: variables that its body declared on
    // an empty stack are gone after the loop.
    if (varStack == nullptr)
        forgetFrameSlots(current);
}

} // namespace orvane
