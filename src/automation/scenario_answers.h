// ScenarioAnswers: stands in for the user of one run, from a scenario.
//
// It answers every wait state of the run: message boxes (through dialog(), which the session
// shows its boxes with), modal forms (the modal loops' wait hook) and the folder dialog (its
// waitingForUser signal). `orvane run` and the engine's --answers use it alike.
//
// A wait with no fitting answer ends the run: the answering code raises ScenarioStop, which
// travels out of the script's calls (never through Qt's event code: the modal loops and the
// folder dialog hand it on), and run() turns it into one line on stderr and exit status 3.
#pragma once

#include "folder_dialog_actions.h"
#include "scenario.h"
#include "scenario_dialog.h"
#include "window_actions.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>

class QDialog;

namespace orvane {

class BuiltinHost;
class ScriptWindows;
class TOrvaneOrdnerDialog;

// The exit status of a run whose scenario had no fitting answer, or answers left over.
constexpr int kExitNoAnswer = 3;

class ScenarioAnswers {
  public:
    using PrintLine = ScenarioDialog::PrintLine;

    // `printLine` receives the transcript lines (boxes, dumps, opened links); `answerYes`
    // answers every Yes/No box with "yes" without reading the scenario.
    ScenarioAnswers(Scenario scenario, PrintLine printLine, bool answerYes = false);
    ~ScenarioAnswers();

    // The message dialog the run's session must show its boxes with.
    MessageDialog& dialog() { return m_dialog; }

    // Answers the waits of `windows` and of `folderDialog`, which becomes the run's
    // showFolderDialog; hyperlinks are reported instead of opened.
    void attach(ScriptWindows& windows, BuiltinHost& host, TOrvaneOrdnerDialog& folderDialog);

    // Runs `runScript` (attach() first) and returns its exit status; when the scenario
    // stopped the run or has actions left, writes why as one line "PROGRAM: ..." to `errors`
    // and returns kExitNoAnswer.
    int run(const std::function<int()>& runScript, std::ostream& errors,
            const std::string& program);

  private:
    void actWhileFormWaits();
    void actInFolderDialog(QDialog& window);
    std::string waitingForm() const;

    Scenario m_scenario;
    PrintLine m_printLine;
    ScenarioDialog m_dialog;
    ScriptWindows* m_windows = nullptr;
    std::unique_ptr<WindowActions> m_actions;
    FolderDialogActions m_folderActions;
};

} // namespace orvane
