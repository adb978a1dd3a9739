// The engine's unattended and recorded runs.
#include "engine_automation.h"

#include "answer_recorder.h"
#include "file_text.h"
#include "folder_dialog_builtin.h"
#include "scenario_answers.h"
#include "script_windows.h"
#include "transcript.h"
#include "transcript_observer.h"

#include <fstream>
#include <iostream>

namespace orvane {

namespace {

// Passes boxes on to the answering dialog and writes error boxes to stderr as well.
class ErrorEchoDialog : public MessageDialog {
  public:
    ErrorEchoDialog(MessageDialog& answers, std::string program)
        : m_answers(answers), m_program(std::move(program)) {}

    MessageAnswer show(const std::string& text, const std::string& caption, int flags) override {
        if (flags == mbIconError)
            std::cerr << m_program << ": " << caption << ": " << onOneLine(text) << '\n';
        return m_answers.show(text, caption, flags);
    }

  private:
    MessageDialog& m_answers;
    std::string m_program;
};

} // namespace

EngineAutomation::EngineAutomation(EngineOptions options, std::string program)
    : m_options(std::move(options)), m_program(std::move(program)) {}

EngineAutomation::~EngineAutomation() = default;

bool EngineAutomation::load(std::string& error) {
    if (!m_options.recordFile.empty()) {
        if (!std::ofstream(m_options.recordFile, std::ios::binary)) {
            error = "cannot write " + m_options.recordFile;
            return false;
        }
        m_recorder = std::make_unique<AnswerRecorder>(m_windowDialog);
    }
    if (m_options.answersFile.empty())
        return true;
    const auto bytes = readWholeFile(m_options.answersFile, error);
    if (!bytes) {
        error = "cannot read " + m_options.answersFile + ": " + error;
        return false;
    }
    auto print = [this](const std::string& line) { printLine(line); };
    m_answers = std::make_unique<ScenarioAnswers>(Scenario::parse(*bytes), print);
    m_answerDialog = std::make_unique<ErrorEchoDialog>(m_answers->dialog(), m_program);
    if (m_options.progress)
        m_observer = std::make_unique<TranscriptObserver>(print);
    return true;
}

MessageDialog& EngineAutomation::dialog() {
    if (m_answerDialog)
        return *m_answerDialog;
    if (m_recorder)
        return *m_recorder;
    return m_windowDialog;
}

InstallObserver* EngineAutomation::observer() {
    return m_observer.get();
}

void EngineAutomation::attach(ScriptWindows& windows, BuiltinHost& host,
                              TOrvaneOrdnerDialog& folderDialog) {
    if (m_answers)
        m_answers->attach(windows, host, folderDialog);
    else
        provideFolderDialog(host, folderDialog);
    if (m_recorder)
        m_recorder->attach(windows, folderDialog);
}

int EngineAutomation::run(const std::function<int()>& runScript) {
    if (m_answers)
        return m_answers->run(runScript, std::cerr, m_program);
    return runScript();
}

int EngineAutomation::finish(int code) {
    printLine(transcript::exitEvent(code));
    if (m_recorder) {
        std::ofstream out(m_options.recordFile, std::ios::binary);
        out << "# Answers recorded by " << m_program << " --record; replay them with " << m_program
            << " --answers FILE.\n"
            << m_recorder->text();
        if (!out.flush())
            std::cerr << m_program << ": cannot write " << m_options.recordFile << '\n';
    }
    return code;
}

void EngineAutomation::printLine(const std::string& line) const {
    if (m_options.progress)
        std::cout << line << '\n' << std::flush;
}

} // namespace orvane
