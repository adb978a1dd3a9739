// Scans and parses one script file and reports its tokens, tree or first syntax error.
#include "check_command.h"

#include "c_parser.h"
#include "c_scanner.h"
#include "file_text.h"
#include "json_output.h"
#include "recording_dialog.h"
#include "script_error.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace orvane {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct CheckOptions {
    bool tokens = false;
    bool tree = false;
    std::string file;
};

void printTokens(const TScanner& scanner) {
    for (const tToken* t = scanner.token; t != nullptr; t = t->next) {
        std::cout << t->line << ':' << t->column << ' ' << scanner.int2typestring(t->typ) << ' '
                  << jsonString(t->text) << '\n';
    }
}

void printTree(const TScanner& scanner, const tNode* node, int depth) {
    for (; node != nullptr; node = node->nextSibling) {
        std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ')
                  << scanner.int2typestring(node->symbol) << ' ' << jsonString(node->text) << ' '
                  << node->line << ':' << node->column << '\n';
        printTree(scanner, node->firstChild, depth + 1);
    }
}

std::string withoutByteOrderMark(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    return text;
}

int check(const CheckOptions& options) {
    std::string error;
    const auto content = readWholeFile(options.file, error);
    if (!content) {
        std::cerr << "orvane check: cannot read " << options.file << ": " << error << '\n';
        return kExitUsage;
    }
    TScanner scanner;
    try {
        scanner.scan(splitScriptLines(withoutByteOrderMark(*content)));
    } catch (const ScriptError& e) {
        std::cerr << e.what() << '\n';
        return kExitFailed;
    }
    if (options.tokens)
        printTokens(scanner);
    RecordingDialog dialog;
    TParser parser(scanner, dialog);
    if (!parser.parse(scanner.token)) {
        const auto& failure = parser.retainedError();
        std::cerr << options.file << ':' << failure.line << ':' << failure.column << ": "
                  << failure.message << '\n';
        return kExitFailed;
    }
    if (options.tree)
        printTree(scanner, parser.rootBaum, 0);
    return 0;
}

} // namespace

void addCheckCommand(CLI::App& orvane, int& status) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = orvane.add_subcommand("check", "Check a script's syntax");
    command->add_flag("--tokens", options->tokens, "Print the script's tokens");
    command->add_flag("--tree", options->tree, "Print the syntax tree");
    command->add_option("FILE", options->file, "The script to check")->required();
    command->callback([options, &status] { status = check(*options); });
}

} // namespace orvane
