// The folder dialog's scenario actions for `orvane run`, done through the dialog's real
// controls with mouse and key events, as a user would:
//
//     folder PATH      open PATH through the folder list, then press "Okay"
//     cancel           press "Abbruch"
//     newfolder NAME   press the new-folder button, type NAME, press "Ordner erstellen"
//
// `newfolder` spans two windows: it presses the button in the main window, and is finished
// by continuePending when the new-folder window it opened waits in turn.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

class QDialog;

namespace orvane {

class FolderDialogActions {
  public:
    // Whether `verb` names one of the actions above.
    static bool handles(std::string_view verb);

    // Finishes an action begun in an earlier window. False when none is pending: the
    // window wants the scenario's next action.
    bool continuePending(QDialog& window);

    // Performs one action on a waiting window of the folder dialog. Returns "" when done,
    // otherwise why it could not be done.
    std::string perform(QDialog& window, std::string_view verb, const std::string& arguments);

  private:
    std::string openFolder(QDialog& window, const std::string& path);
    std::string newFolder(QDialog& window, const std::string& name);

    std::optional<QString> m_pendingName;
};

} // namespace orvane
