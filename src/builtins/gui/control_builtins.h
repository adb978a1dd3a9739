// The built-ins that change and read controls: captions, states, colours, fonts,
// docking, pictures, list boxes and handlers.
#pragma once

#include "script_windows.h"

namespace orvane::control_builtins {

Value setChecked(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value isChecked(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setListBoxArray(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value getListBoxCurrentItem(ScriptWindows& windows, BuiltinServices& services,
                            const BuiltinArgs& args);
Value setPanelBorders(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setFontStyle(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setDoubleClickHandler(ScriptWindows& windows, BuiltinServices& services,
                            const BuiltinArgs& args);
Value setClickHandler(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setProgress(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setEnabled(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setCaption(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value getCaption(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setAlign(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setWordWrap(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setColor(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setImage(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value setPictureFromXML(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);

} // namespace orvane::control_builtins
