// showFolderDialog on the folder dialog component.
#include "folder_dialog_builtin.h"

#include "orvaneOrdnerDialog.h"

namespace orvane {

void configureTargetFolderDialog(TOrvaneOrdnerDialog& dialog) {
    dialog.setTitle("Zielordner wählen");
    dialog.setAllowNewDir(true);
}

void provideFolderDialog(BuiltinHost& host, TOrvaneOrdnerDialog& dialog,
                         std::function<void(bool confirmed)> afterRun) {
    dialog.setMessageDialog(&host.services().dialog);
    host.provide("showFolderDialog", [&dialog, afterRun](BuiltinServices&, const BuiltinArgs&) {
        const bool confirmed = dialog.execute();
        if (afterRun)
            afterRun(confirmed);
        if (!confirmed)
            return generateStringData("");
        return generateStringData(dialog.directory().toStdString());
    });
}

} // namespace orvane
