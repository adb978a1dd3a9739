// setTextFromXML: a package text of any length into a label or text field.
#pragma once

#include "script_windows.h"

namespace orvane::long_text_builtin {

Value setTextFromXML(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);

} // namespace orvane::long_text_builtin
