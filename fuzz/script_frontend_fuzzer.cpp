// Arbitrary bytes as a script: scanning and parsing must end in a tree or a syntax error, and
// `orvane check`'s analysis of a tree must end in warnings that each say what they warn about.
#include "c_parser.h"
#include "c_scanner.h"
#include "recording_dialog.h"
#include "script_analysis.h"
#include "script_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TScanner scanner;
    try {
        scanner.scan(splitScriptLines(text));
    } catch (const ScriptError&) {
        return 0; // a rejected script is a correct answer
    }
    RecordingDialog dialog;
    TParser parser(scanner, dialog);
    if (!parser.parse(scanner.token))
        return 0;
    for (const AnalysisWarning& warning : analyseScript(parser.rootBaum, nullptr)) {
        if (warning.kind.empty() || warning.message.empty()) {
            std::fprintf(stderr, "a warning without kind or message at %u:%u\n", warning.line,
                         warning.column);
            std::abort();
        }
    }
    return 0;
}
