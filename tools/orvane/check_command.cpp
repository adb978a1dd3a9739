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
#include <string>
#include <utility>
#include <vector>

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

// Deeper lines keep this indentation and name their depth instead: a chain of n operators nests
// n levels deep, and indenting each of its lines fully would print n * n spaces.
constexpr std::size_t kMaxIndentedDepth = 100;

std::string indentation(std::size_t depth) {
    if (depth <= kMaxIndentedDepth)
        return std::string(depth * 2, ' ');
    return std::string(kMaxIndentedDepth * 2, ' ') + '[' + std::to_string(depth) + "] ";
}

// Depth first, children before the next sibling, with a stack of its own: a tree may be nested
// far deeper than the native stack would allow recursion.
void printTree(const TScanner& scanner, const tNode* root) {
    std::vector<std::pair<const tNode*, std::size_t>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (node == nullptr)
            continue;
        std::cout << indentation(depth) << scanner.int2typestring(node->symbol) << ' '
                  << jsonString(node->text) << ' ' << node->line << ':' << node->column << '\n';
        pending.emplace_back(node->nextSibling, depth);
        pending.emplace_back(node->firstChild, depth + 1);
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
        printTree(scanner, parser.rootBaum);
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
