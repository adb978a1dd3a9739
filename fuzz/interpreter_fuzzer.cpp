// Arbitrary bytes as a script, run from `main` with the core built-ins under an evaluation budget.
// Every run must end in main returning or in the engine's ordinary error; nothing here reaches
// the file system, the registry, the shell or the clock. Each script runs twice, with compiled
// functions and loops and on the tree walk alone: both runs must show the same boxes and end the
// same way, unless one of them used up its budget or the native stack (the two count steps and
// use the stack differently).
#include "builtin_catalogue.h"
#include "c_interpreter.h"
#include "c_parser.h"
#include "c_scanner.h"
#include "script_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace orvane;

// Large enough for loops and recursion of a few hundred rounds, small enough that an endless
// loop ends well within libFuzzer's one-second limit.
constexpr std::uint64_t kStepBudget = 100'000;
constexpr std::uint64_t kCallBudget = 10'000;

// Built-ins that reach beyond the script: each answers "not available in this version". The
// clock and random numbers are withdrawn too, so that every finding reproduces. The others that
// reach the machine (files, registry, shell, uninstall data) already fail with their ordinary
// errors, since this host gives them no package, store, shell or uninstall list.
constexpr std::string_view kWithdrawn[] = {"sleep", "directoryExists", "gettickcount", "random"};

// Answers every question alternately yes and no, so both branches of a script get explored, and
// keeps the texts shown.
class AlternatingDialog : public MessageDialog {
  public:
    MessageAnswer show(const std::string& text, const std::string&, int) override {
        shown.push_back(text);
        m_yes = !m_yes;
        return m_yes ? idYes : idNo;
    }

    std::vector<std::string> shown;

  private:
    bool m_yes = false;
};

// What a run showed and how it ended (empty: main returned or did not exist).
struct RunTranscript {
    std::vector<std::string> shown;
    std::string ending;

    bool comparable() const {
        return ending.find("Ausführungsbudget erschöpft") == std::string::npos &&
               ending.find("Rekursion zu tief") == std::string::npos;
    }
};

void runMain(TParser& parser, TCInterpreterEx& interpreter) {
    interpreter.prepareToRun();
    interpreter.preCheck();
    if (interpreter.getFunctionDeklNode("main") == nullptr)
        return;
    tVariable* unchanged = nullptr;
    interpreter.callFunction(parser.newNode(ttFuncCall, "main"), nullptr, unchanged);
}

RunTranscript runScript(std::string_view text, bool fastFunctions) {
    AlternatingDialog dialog;
    TScanner scanner;
    TParser parser(scanner, dialog);
    TCInterpreterEx interpreter(parser, dialog);
    BuiltinHost builtins(BuiltinServices{dialog});
    for (std::string_view name : kWithdrawn)
        builtins.withdraw(name);
    builtins.attach(interpreter);
    interpreter.setEvaluationBudget(kStepBudget, kCallBudget);
    interpreter.setFastFunctions(fastFunctions);
    RunTranscript transcript;
    try {
        scanner.scan(splitScriptLines(text));
        if (parser.parse(scanner.token))
            runMain(parser, interpreter);
    } catch (const ScriptError& error) {
        // a rejected script, a run-time error or a used-up budget: all correct answers
        transcript.ending = error.what();
    }
    interpreter.releaseGlobalVarStack();
    transcript.shown = std::move(dialog.shown);
    return transcript;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RunTranscript compiled = runScript(text, true);
    const RunTranscript walked = runScript(text, false);
    if (compiled.comparable() && walked.comparable() &&
        (compiled.shown != walked.shown || compiled.ending != walked.ending)) {
        std::fprintf(stderr, "compiled and walked runs differ:\n%s\n---\n%s\n",
                     compiled.ending.c_str(), walked.ending.c_str());
        std::abort();
    }
    return 0;
}
