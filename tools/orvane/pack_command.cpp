// Writes {"programfile": SCRIPT, "binfiles": [{"id": ID, "bin": BASE64}, ...], TEXTID: TEXT, ...},
// streaming every embedded file through the Base64 writer so that large files are never held
// whole.
#include "pack_command.h"

#include "base64_writer.h"
#include "file_text.h"
#include "json_output.h"
#include "text_encoding.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace orvane {

namespace {

namespace fs = std::filesystem;

constexpr int kExitFailed = 2;
constexpr std::size_t kChunkSize = 1 << 20;

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

// Appends one embedded file's Base64 text; false with `error` set when it cannot be read.
bool writeEmbeddedFile(std::ostream& out, const EmbeddedFile& file, std::string& error) {
    std::ifstream in(file.path, std::ios::binary);
    if (!in || fs::is_directory(file.path)) {
        error = file.path + ": " + (in ? std::strerror(EISDIR) : std::strerror(errno));
        return false;
    }
    out << "{\"id\":" << jsonString(file.id) << ",\"bin\":\"";
    Base64Writer encoder(out);
    std::string chunk(kChunkSize, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
        encoder.write(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
    if (in.bad()) {
        error = file.path + ": " + std::strerror(errno);
        return false;
    }
    encoder.finish();
    out << "\"}";
    return true;
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
    for (std::size_t k = 0; k < options.files.size(); ++k) {
        out << (k == 0 ? "\n" : ",\n");
        if (!writeEmbeddedFile(out, options.files[k], error))
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
    const auto script = readWholeFile(options.script, error);
    if (!script) {
        std::cerr << "orvane pack: cannot read " << options.script << ": " << error << '\n';
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
    command->callback([options, &status] { status = pack(*options); });
}

} // namespace orvane
