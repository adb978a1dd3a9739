// Run-time error texts.
#include "runtime_errors.h"

#include "c_scanner.h"

namespace orvane::runtime_errors {

namespace {

const std::string kPrefix = "Laufzeitfehler im C-Interpreter:\r";

std::string position(std::uint32_t line, std::uint32_t column) {
    return " (Zeile " + std::to_string(line) + ", Spalte " + std::to_string(column) + ").";
}

std::string typeName(std::int32_t typ) {
    std::string name = TScanner::Typ2Str(typ);
    return name.empty() ? "?" : name;
}

} // namespace

ScriptError arithmetic(std::uint32_t line, std::uint32_t column) {
    return ScriptError(kPrefix + "Parameter in arithmetischer Anweisung nicht kompatibel" +
                       position(line, column));
}

ScriptError comparison(std::uint32_t line, std::uint32_t column) {
    return ScriptError(kPrefix + "Parameter in Vergleich nicht kompatibel" +
                       position(line, column));
}

ScriptError noValue(std::uint32_t line, std::uint32_t column) {
    return ScriptError(kPrefix + "Ausdruck ohne Wert" + position(line, column));
}

ScriptError wrongType(std::string_view name, std::int32_t variableType, std::int32_t wanted) {
    return ScriptError(kPrefix + "Variable " + std::string(name) + " ist vom Typ " +
                       typeName(variableType) + ", nicht " + typeName(wanted) + ".");
}

ScriptError indexOutOfRange(std::string_view name, std::int32_t index, std::int32_t size) {
    return ScriptError(kPrefix + "Index " + std::to_string(index) + " außerhalb von " +
                       std::string(name) + " (0 bis " + std::to_string(size) + ").");
}

ScriptError notAnArray(std::string_view name) {
    return ScriptError(kPrefix + "Variable " + std::string(name) + " ist kein Array.");
}

ScriptError badArraySize(std::string_view name, std::int32_t size) {
    return ScriptError(kPrefix + "Ungültige Arraygröße " + std::to_string(size) + " für " +
                       std::string(name) + ".");
}

ScriptError recursionTooDeep() {
    return ScriptError(kPrefix + "Rekursion zu tief.");
}

ScriptError budgetExhausted(std::uint64_t budget, std::string_view unit) {
    return ScriptError(kPrefix + "Ausführungsbudget erschöpft (" + std::to_string(budget) + " " +
                       std::string(unit) + ").");
}

ScriptError notAnInteger(std::string_view text) {
    return ScriptError("'" + std::string(text) + "' ist kein gültiger Integerwert");
}

} // namespace orvane::runtime_errors
