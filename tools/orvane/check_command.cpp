// Scans and parses one script file and reports its tokens, tree, first syntax error and the
// warnings of the static analysis.
#include "check_command.h"

#include "c_parser.h"
#include "c_scanner.h"
#include "file_text.h"
#include "json_output.h"
#include "package_document.h"
#include "package_file.h"
#include "recording_dialog.h"
#include "script_analysis.h"
#include "script_error.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
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
    bool json = false;
    std::string package;
    std::string file;
};

// Errors and warnings as `FILE:LINE:COLUMN: ...` lines (errors on stderr), or all of them as one
// JSON array on stdout for editors.
class Diagnostics {
  public:
    explicit Diagnostics(const CheckOptions& options) : m_options(options) {}
    ~Diagnostics() {
        if (m_options.json)
            std::cout << (m_count == 0 ? "[" : "\n") << "]\n";
    }

    void error(std::uint32_t line, std::uint32_t column, const std::string& message) {
        if (m_options.json)
            json({line, column, "syntax", message, ""}, "error");
        else if (line == 0)
            std::cerr << message << '\n';
        else
            std::cerr << m_options.file << ':' << line << ':' << column << ": " << message << '\n';
    }

    void warning(const AnalysisWarning& w) {
        if (m_options.json)
            json(w, "warning");
        else
            std::cout << m_options.file << ':' << w.line << ':' << w.column
                      << ": warning: " << w.message << '\n'
                      << "    hint: " << w.hint << '\n';
    }

  private:
    void json(const AnalysisWarning& w, const char* severity) {
        std::cout << (m_count++ == 0 ? "[\n" : ",\n") << "{\"file\":" << jsonString(m_options.file)
                  << ",\"line\":" << w.line << ",\"column\":" << w.column << ",\"severity\":\""
                  << severity << "\",\"kind\":\"" << w.kind
                  << "\",\"message\":" << jsonString(w.message)
                  << ",\"hint\":" << jsonString(w.hint) << '}';
    }

    const CheckOptions& m_options;
    int m_count = 0;
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

// Visits every node with its depth, depth first, children before the next sibling, with a stack
// of its own: a tree may be nested far deeper than the native stack would allow recursion.
template <typename Visit> void walkTree(const tNode* root, Visit visit) {
    std::vector<std::pair<const tNode*, std::size_t>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (node == nullptr)
            continue;
        visit(*node, depth);
        pending.emplace_back(node->nextSibling, depth);
        pending.emplace_back(node->firstChild, depth + 1);
    }
}

void printTree(const TScanner& scanner, const tNode* root) {
    walkTree(root, [&](const tNode& node, std::size_t depth) {
        std::cout << indentation(depth) << scanner.int2typestring(node.symbol) << ' '
                  << jsonString(node.text) << ' ' << node.line << ':' << node.column << '\n';
    });
}

// The package given with --package, or none; false when it cannot be read.
bool loadPackage(const std::string& path, std::optional<PackageDocument>& package) {
    if (path.empty())
        return true;
    LoadedJson loaded = loadPackageFile(path);
    if (!loaded.document) {
        std::cerr << "orvane check: cannot read " << path << ": " << loaded.error << '\n';
        return false;
    }
    package.emplace(std::move(loaded.document));
    return true;
}

int check(const CheckOptions& options) {
    std::string error;
    const auto content = readScriptFile(options.file, error);
    if (!content) {
        std::cerr << "orvane check: cannot read " << options.file << ": " << error << '\n';
        return kExitUsage;
    }
    std::optional<PackageDocument> package;
    if (!loadPackage(options.package, package))
        return kExitUsage;
    Diagnostics diagnostics(options);
    TScanner scanner;
    try {
        scanner.scan(splitScriptLines(*content));
    } catch (const ScriptError& e) {
        diagnostics.error(0, 0, e.what());
        return kExitFailed;
    }
    if (options.tokens)
        printTokens(scanner);
    RecordingDialog dialog;
    TParser parser(scanner, dialog);
    if (!parser.parse(scanner.token)) {
        const auto& failure = parser.retainedError();
        diagnostics.error(static_cast<std::uint32_t>(failure.line),
                          static_cast<std::uint32_t>(failure.column), failure.message);
        return kExitFailed;
    }
    if (options.tree)
        printTree(scanner, parser.rootBaum);
    for (const AnalysisWarning& warning :
         analyseScript(parser.rootBaum, package ? &*package : nullptr))
        diagnostics.warning(warning);
    return 0;
}

} // namespace

void addCheckCommand(CLI::App& orvane, int& status) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = orvane.add_subcommand(
        "check", "Check a script: syntax errors and warnings about its traps");
    auto* tokens = command->add_flag("--tokens", options->tokens, "Print the script's tokens");
    auto* tree = command->add_flag("--tree", options->tree, "Print the syntax tree");
    command->add_flag("--json", options->json, "Print errors and warnings as one JSON array")
        ->excludes(tokens)
        ->excludes(tree);
    command->add_option("--package", options->package,
                        "Also check package paths and picture ids against this package");
    command->add_option("FILE", options->file, "The script to check")->required();
    command->callback([options, &status] { status = check(*options); });
}

} // namespace orvane
