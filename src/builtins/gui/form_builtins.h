// The built-ins that show, close, place, repaint and free windows, and free any object.
#pragma once

#include "script_windows.h"

namespace orvane::form_builtins {

Value showModal(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value showUnmodal(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value closeForm(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value centerForm(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value repaint(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value freeObject(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);

} // namespace orvane::form_builtins
