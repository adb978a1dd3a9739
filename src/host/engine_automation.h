// EngineAutomation: what the engine's options add to its run.
//
// Without options it adds nothing: boxes are real ones and the user answers them. With
// --answers, a ScenarioAnswers answers every wait from the answer file; boxes become transcript
// lines (on stdout with --progress), and error boxes are also written to stderr, so that a run
// without windows says why it failed. The run driver (TForm1) asks this object for the dialog
// and observer of its session, attaches its windows, and ends through finish(). With --record,
// an AnswerRecorder watches the user and its answers are written when the run ends.
#pragma once

#include "engine_options.h"
#include "message_dialog.h"
#include "qt_message_dialog.h"

#include <functional>
#include <memory>
#include <string>

namespace orvane {

class AnswerRecorder;
class BuiltinHost;
class InstallObserver;
class ScenarioAnswers;
class ScriptWindows;
class TOrvaneOrdnerDialog;

class EngineAutomation {
  public:
    // `program` names the engine in messages on stderr.
    EngineAutomation(EngineOptions options, std::string program);
    ~EngineAutomation();

    // Reads the answer file and makes sure the record file can be written; false with `error`
    // set when not.
    bool load(std::string& error);

    // The dialog and the observer the session must use (the observer may be null).
    MessageDialog& dialog();
    InstallObserver* observer();
    // Gives the run its folder dialog and lets the options answer the run's waits.
    void attach(ScriptWindows& windows, BuiltinHost& host, TOrvaneOrdnerDialog& folderDialog);
    // Runs `runScript` and returns its exit status, or the status an unanswered wait ends with.
    int run(const std::function<int()>& runScript);
    // The run ends with `code`: the transcript's last line and the record file are written.
    // Returns `code`.
    int finish(int code);

  private:
    void printLine(const std::string& line) const;

    EngineOptions m_options;
    std::string m_program;
    QtMessageDialog m_windowDialog;
    std::unique_ptr<ScenarioAnswers> m_answers;
    std::unique_ptr<MessageDialog> m_answerDialog; // the answers' dialog, error boxes echoed
    std::unique_ptr<InstallObserver> m_observer;
    std::unique_ptr<AnswerRecorder> m_recorder;
};

} // namespace orvane
