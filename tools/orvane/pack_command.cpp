// Writes {"programfile": SCRIPT, "binfiles": [{"id": ID, "bin": BASE64}, ...], TEXTID: TEXT, ...},
// streaming every embedded file through the Base64 writer so that large files are never held
// whole.
#include "pack_command.h"

#include "file_text.h"
#include "json_output.h"
#include "packed_file_writer.h"
#include "script_check.h"
#include "text_encoding.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <set>

namespace orvane {

namespace {

namespace fs = std::filesystem;

constexpr int kExitScriptRejected = 1;
constexpr int kExitFailed = 2;

struct EmbeddedFile {
    std::string id;
    std::string path;
};

struct PackOptions {
    std::string output;
    std::string script;
    std::vector<std::string> fileArguments; // ID=FILE
    std::vector<EmbeddedFile> files;
    std::vector<std::string> textArguments; // --text ID=FILE
    std::vector<EmbeddedFile> texts;
    CompressionSettings compression;
};

// An ID=FILE argument, both parts non-empty; the error text for CLI11, empty when it is sound.
std::string embeddedFileError(const std::string& argument) {
    const auto equals = argument.find('=');
    if (equals == 0 || equals == std::string::npos || equals + 1 == argument.size())
        return "expected ID=FILE, got '" + argument + "'";
    return {};
}

// A --text member must not hide the members the engine reads.
std::string textMemberError(const std::string& argument) {
    const std::string id = argument.substr(0, argument.find('='));
    if (id == "programfile" || id == "binfiles")
        return "the id '" + id + "' is the engine's own";
    return embeddedFileError(argument);
}

EmbeddedFile embeddedFile(const std::string& argument) {
    const auto equals = argument.find('=');
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// The first id that two files share.
std::optional<std::string> sharedId(const std::vector<EmbeddedFile>& files) {
    std::set<std::string> seen;
    for (const EmbeddedFile& file : files) {
        if (!seen.insert(file.id).second)
            return file.id;
    }
    return std::nullopt;
}

std::string folderOf(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Appends `,"ID": TEXT`: a text file as a top-level member, decoded to UTF-8 by its byte-order
// mark (Windows-1252 when it has none and is not UTF-8), so the package stays one encoding.
bool writeTextMember(std::ostream& out, const EmbeddedFile& text, std::string& error) {
    const auto bytes = readWholeFile(text.path, error);
    if (!bytes) {
        error = text.path + ": " + error;
        return false;
    }
    out << ",\n" << jsonString(text.id) << ":" << jsonString(decodeTextFile(*bytes));
    return true;
}

bool writePackage(std::ostream& out, const PackOptions& options, const std::string& script,
                  std::string& error) {
    out << "{\"programfile\":" << jsonString(script) << ",\n\"binfiles\":[";
    PackedFileWriter writer(options.compression, folderOf(options.output));
    for (std::size_t k = 0; k < options.files.size(); ++k) {
        out << (k == 0 ? "\n" : ",\n");
        if (!writer.write(out, options.files[k].id, options.files[k].path, error))
            return false;
    }
    out << "\n]";
    for (const EmbeddedFile& text : options.texts) {
        if (!writeTextMember(out, text, error))
            return false;
    }
    out << "}\n";
    out.flush();
    if (!out) {
        error = options.output + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

int pack(PackOptions& options) {
    if (options.output.empty())
        options.output = fs::path(options.script).replace_extension(".ovsp").string();
    for (const auto& argument : options.fileArguments)
        options.files.push_back(embeddedFile(argument));
    for (const auto& argument : options.textArguments)
        options.texts.push_back(embeddedFile(argument));
    std::string error;
    const auto script = readScriptFile(options.script, error);
    if (!script) {
        std::cerr << "orvane pack: cannot read " << options.script << ": " << error << '\n';
        return kExitFailed;
    }
    if (const std::string problem = firstScriptProblem(options.script, *script); !problem.empty()) {
        std::cerr << problem << '\n';
        return kExitScriptRejected;
    }
    if (const auto id = sharedId(options.files)) {
        std::cerr << "orvane pack: two files under the id '" << *id << "'\n";
        return kExitFailed;
    }
    // Written beside the target and renamed over it, so a failed run leaves no half package.
    const std::string temporary = options.output + ".part";
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            error = temporary + ": " + std::strerror(errno);
        else
            written = writePackage(out, options, *script, error);
    }
    if (written && std::rename(temporary.c_str(), options.output.c_str()) != 0) {
        error = options.output + ": " + std::strerror(errno);
        written = false;
    }
    if (!written) {
        std::remove(temporary.c_str());
        std::cerr << "orvane pack: " << error << '\n';
        return kExitFailed;
    }
    std::cout << options.output << ": " << options.files.size() << " file(s) embedded\n";
    return 0;
}

} // namespace

void addPackCommand(CLI::App& orvane, int& status) {
    auto options = std::make_shared<PackOptions>();
    CLI::App* command =
        orvane.add_subcommand("pack", "Build an install package from a script and its files");
    command->add_option("-o", options->output,
                        "The package to write (default: the script's name with .ovsp)");
    command->add_option("SCRIPT", options->script, "The install script")->required();
    command->add_option("ID=FILE", options->fileArguments, "Embed FILE under the id ID")
        ->check(CLI::Validator(embeddedFileError, "ID=FILE"));
    command
        ->add_option("--text", options->textArguments,
                     "Put the text file FILE into the package as the top-level member ID")
        ->type_name("ID=FILE")
        ->allow_extra_args(false) // one ID=FILE per --text: the embedded files may follow
        ->check(CLI::Validator(textMemberError, "ID=FILE"));
    CLI::Option* level =
        command
            ->add_option("--level", options->compression.level,
                         "zstd level (default 19); a file is stored compressed only when that "
                         "saves at least 5 %")
            ->check(CLI::Range(1, 19));
    command
        ->add_flag_callback(
            "--no-compress", [options] { options->compression.compress = false; },
            "Store every file uncompressed")
        ->excludes(level);
    command->callback([options, &status] { status = pack(*options); });
}

} // namespace orvane
