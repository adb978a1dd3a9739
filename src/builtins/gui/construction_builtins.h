// The twelve built-ins that create a script's windows and controls.
#pragma once

#include "script_windows.h"

namespace orvane::construction_builtins {

Value createForm(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createProgressBar(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createListBox(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createLabel(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createImage(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createPanel(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createButton(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createHyperLink(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createCheckbox(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createRadiobutton(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createTextfield(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);
Value createTextedit(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args);

// Connects `signal` of `widget` to the script as `event` of `object`.
template <class Widget, class Signal>
void wireEvent(ScriptWindows& windows, ScriptObject& object, ScriptEvent event, Widget* widget,
               Signal signal) {
    const ScriptObject* sender = &object;
    object.wire(event, [&windows, widget, signal, sender] {
        return QObject::connect(widget, signal, widget,
                                [&windows, sender] { windows.deliver(sender); });
    });
}

} // namespace orvane::construction_builtins
