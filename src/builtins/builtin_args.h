// Checked access to a built-in's arguments, by the parameter names it was declared with.
#pragma once

#include "c_interpreter.h"

#include <string>
#include <string_view>

namespace orvane {

class BuiltinArgs {
  public:
    BuiltinArgs(TCInterpreterEx& interpreter, tVariable* localStack)
        : m_interpreter(interpreter), m_stack(localStack) {}

    std::string text(std::string_view name) const {
        return m_interpreter.getStringFromVarStack(m_stack, name, -1);
    }
    std::int32_t integer(std::string_view name) const {
        return m_interpreter.getIntFromVarStack(m_stack, name, -1);
    }
    bool boolean(std::string_view name) const {
        return m_interpreter.getBoolFromVarStack(m_stack, name, -1);
    }
    std::int32_t arraySize(std::string_view name) const {
        return m_interpreter.getArraySize(m_stack, name);
    }
    std::string textAt(std::string_view name, std::int32_t element) const {
        return m_interpreter.getStringFromVarStack(m_stack, name, element);
    }

    TCInterpreterEx& interpreter() const { return m_interpreter; }
    tVariable* stack() const { return m_stack; }

  private:
    TCInterpreterEx& m_interpreter;
    tVariable* m_stack;
};

} // namespace orvane
