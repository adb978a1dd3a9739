// The error texts of the window built-ins, written down once.
#pragma once

#include "script_error.h"

#include <string>
#include <string_view>

namespace orvane::gui_errors {

// An object of another kind where a built-in needs one kind (the runtime's invalid cast).
inline ScriptError invalidCast() {
    return ScriptError("Ungültige Typumwandlung");
}

// A name that no registered object has, where a built-in needs an object.
inline ScriptError notRegistered(std::string_view name) {
    return ScriptError("GUI-Objekt '" + std::string(name) + "' nicht gefunden");
}

// A control named as its own container.
inline ScriptError ownParent() {
    return ScriptError("Ein Steuerelement kann nicht sein eigenes übergeordnetes Element sein");
}

// The list index of a list box with no selected item (the index is then -1).
inline ScriptError listIndex(int index) {
    return ScriptError("Listenindex außerhalb des gültigen Bereichs (" + std::to_string(index) +
                       ")");
}

} // namespace orvane::gui_errors
