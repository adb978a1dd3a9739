// Runs one install script headless (boxes recorded, Yes/No answered "no") and prints
// the text of every message box; used by the interpreter benchmarks.
#include "recording_dialog.h"
#include "script_session.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: run_script_tool SCRIPT.ovs\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "run_script_tool: cannot read " << argv[1] << '\n';
        return 2;
    }
    std::ostringstream script;
    script << in.rdbuf();
    orvane::RecordingDialog dialog;
    dialog.setObserver([](const orvane::RecordedBox& box) { std::cout << box.text << '\n'; });
    orvane::ScriptSession session(dialog, nullptr);
    return static_cast<int>(session.run(script.str()));
}
