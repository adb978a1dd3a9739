// showFolderDialog: the engine's folder chooser as a built-in (needs windows).
#pragma once

#include "builtin_catalogue.h"

#include <functional>

namespace orvane {

class TOrvaneOrdnerDialog;

// Gives `dialog` the settings of the engine's target-folder chooser: the title
// "Zielordner wählen" and new folders allowed.
void configureTargetFolderDialog(TOrvaneOrdnerDialog& dialog);

// Makes `showFolderDialog` run `dialog`: the chosen folder, ending with "/", or "" when the
// user cancels. The dialog's error boxes go through the host's message dialog; `dialog`
// must outlive the host's runs. `afterRun`, when given, is called once the window has
// closed, with whether the user confirmed: a headless run raises there what stopped it while
// the dialog waited, a recorded run writes down the choice.
void provideFolderDialog(BuiltinHost& host, TOrvaneOrdnerDialog& dialog,
                         std::function<void(bool confirmed)> afterRun = {});

} // namespace orvane
