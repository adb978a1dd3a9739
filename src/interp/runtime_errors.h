// The interpreter's run-time error texts, written down once.
#pragma once

#include "script_error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::runtime_errors {

// Operands of + - * / % or of a compound assignment that do not fit together.
ScriptError arithmetic(std::uint32_t line, std::uint32_t column);
// Operands of a comparison that do not fit together.
ScriptError comparison(std::uint32_t line, std::uint32_t column);
// An operand, condition, index or assigned value that has no value.
ScriptError noValue(std::uint32_t line, std::uint32_t column);
ScriptError wrongType(std::string_view name, std::int32_t variableType, std::int32_t wanted);
ScriptError indexOutOfRange(std::string_view name, std::int32_t index, std::int32_t size);
ScriptError notAnArray(std::string_view name);
ScriptError badArraySize(std::string_view name, std::int32_t size);
ScriptError recursionTooDeep();
// The run used up the evaluation budget: `budget` steps or calls (`unit`).
ScriptError budgetExhausted(std::uint64_t budget, std::string_view unit);
ScriptError notAnInteger(std::string_view text);

} // namespace orvane::runtime_errors
