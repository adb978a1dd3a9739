// Scanner, parser and the interpreter's preparation with the built-in catalogue, nothing run.
#include "script_check.h"

#include "builtin_catalogue.h"
#include "c_interpreter.h"
#include "c_parser.h"
#include "c_scanner.h"
#include "recording_dialog.h"
#include "script_error.h"

namespace orvane {

namespace {

std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

std::string placed(const std::string& file, long long line, long long column,
                   const std::string& message) {
    return file + ':' + std::to_string(line) + ':' + std::to_string(column) + ": " + message;
}

} // namespace

std::string firstScriptProblem(const std::string& file, std::string_view text) {
    TScanner scanner;
    RecordingDialog dialog;
    TParser parser(scanner, dialog);
    TCInterpreterEx interpreter(parser, dialog);
    BuiltinHost builtins(BuiltinServices{dialog});
    builtins.attach(interpreter);
    try {
        scanner.scan(splitScriptLines(withoutByteOrderMark(text)));
        if (!parser.parse(scanner.token)) {
            const auto& failure = parser.retainedError();
            return placed(file, failure.line, failure.column, failure.message);
        }
        interpreter.prepareToRun();
        if (const tNode* call = interpreter.firstUnknownCall())
            return placed(file, call->line, call->column,
                          TCInterpreterEx::unknownFunctionMessage(call->text));
    } catch (const ScriptError& e) {
        return file + ": " + e.what();
    }
    return {};
}

} // namespace orvane
