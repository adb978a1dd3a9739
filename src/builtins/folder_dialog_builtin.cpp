// showFolderDialog on the folder dialog component.
#include "folder_dialog_builtin.h"

#include "orvaneOrdnerDialog.h"

namespace orvane {

void configureTargetFolderDialog(TOrvaneOrdnerDialog& dialog) {
    dialog.setTitle("Zielordner wählen");
    dialog.setAllowNewDir(true);
}

void provideFolderDialog(BuiltinHost& host, TOrvaneOrdnerDialog& dialog) {
    dialog.setMessageDialog(&host.services().dialog);
    host.provide("showFolderDialog", [&dialog](BuiltinServices&, const BuiltinArgs&) {
        if (!dialog.execute())
            return generateStringData("");
        return generateStringData(dialog.directory().toStdString());
    });
}

} // namespace orvane
