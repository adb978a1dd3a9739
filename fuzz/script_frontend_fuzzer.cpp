// Arbitrary bytes as a script: scanning and parsing must end in a tree or a syntax error.
#include "c_parser.h"
#include "c_scanner.h"
#include "recording_dialog.h"
#include "script_error.h"

#include <cstddef>
#include <cstdint>
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
    parser.parse(scanner.token);
    return 0;
}
