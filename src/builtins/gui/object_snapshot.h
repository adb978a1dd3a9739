// The state of every registered window and control, for headless runs to print.
#pragma once

#include "script_windows.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

struct ObjectSnapshot {
    std::int32_t index = 0;
    std::string name;
    std::string kind; // kindName()
    std::string handler;
    std::optional<std::string> parent; // the container's registered name
    int x = 0, y = 0, width = 0, height = 0;
    bool visible = false; // the object's own visibility (a control on a hidden form counts)
    bool enabled = false;
    std::string caption;                           // as the engine set it; "" where there is none
    std::optional<bool> checked;                   // check boxes and radio buttons
    std::optional<int> position;                   // progress bars
    std::optional<std::vector<std::string>> items; // list boxes
    int selected = -1;                             // list boxes
};

// Entries 1..count in order.
std::vector<ObjectSnapshot> snapshotObjects(const ScriptWindows& windows);

} // namespace orvane
