// Prints a key, exports a hive as text, or deletes a key tree from the registry store.
#include "reg_command.h"

#include "registry_store.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>

namespace orvane {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: orvane reg query PATH | orvane reg export HIVE | orvane reg delete PATH\n"
    "  PATH is HIVE\\KEY\\..., HIVE is HKEY_LOCAL_MACHINE (HKLM) or HKEY_CURRENT_USER (HKCU)\n";

struct RegPath {
    Hive hive;
    std::string keyPath; // after the hive's name, starting with "\" or empty for the root
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// People may type the hive in any case and in its short form.
std::optional<RegPath> parseRegPath(const std::string& text) {
    const auto cut = text.find('\\');
    const std::string_view root = std::string_view(text).substr(0, cut);
    const std::string keyPath = cut == std::string::npos ? std::string() : text.substr(cut);
    if (equalsIgnoringCase(root, "HKEY_LOCAL_MACHINE") || equalsIgnoringCase(root, "HKLM"))
        return RegPath{Hive::LocalMachine, keyPath};
    if (equalsIgnoringCase(root, "HKEY_CURRENT_USER") || equalsIgnoringCase(root, "HKCU"))
        return RegPath{Hive::CurrentUser, keyPath};
    return std::nullopt;
}

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

std::string twoHexDigits(char c) {
    constexpr const char* kDigits = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return {kDigits[byte >> 4], kDigits[byte & 15]};
}

// Control characters as \r, \n, \t or \xHH, so that no text can break or forge a line.
void appendEscapingControls(std::string& out, char c) {
    if (c == '\r')
        out.append("\\r");
    else if (c == '\n')
        out.append("\\n");
    else if (c == '\t')
        out.append("\\t");
    else if (isControl(c))
        out.append("\\x").append(twoHexDigits(c));
    else
        out.append(1, c);
}

std::string withControlsEscaped(std::string_view text) {
    std::string out;
    for (const char c : text)
        appendEscapingControls(out, c);
    return out;
}

// A name or data between double quotes, with backslashes, quotes and control characters escaped.
std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out.append(1, '\\').append(1, c);
        else
            appendEscapingControls(out, c);
    }
    return out + '"';
}

// One key name of a key path. "\" separates the names, so it cannot escape: a "\" inside a name
// (only a damaged or hand-edited store holds one), "%" and control characters become %HH.
std::string keyNameEscaped(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (c == '\\' || c == '%' || isControl(c))
            out.append(1, '%').append(twoHexDigits(c));
        else
            out.append(1, c);
    }
    return out;
}

std::string fullName(Hive hive, std::string_view keyPath) {
    std::string name(hiveName(hive));
    if (!keyPath.empty() && keyPath != "\\")
        name.append(keyPath.front() == '\\' ? "" : "\\").append(keyPath);
    return name;
}

int query(RegistryStore& store, const RegPath& path, std::ostream& out, std::ostream& err) {
    const auto listing = store.listKey(path.hive, path.keyPath);
    const std::string name = fullName(path.hive, path.keyPath);
    if (!listing.ok()) {
        err << "orvane reg: " << name << ": " << listing.error << '\n';
        return kExitFailed;
    }
    out << name << '\n';
    for (const auto& value : listing.value->values)
        out << "    " << (value.name.empty() ? "(Default)" : withControlsEscaped(value.name))
            << "    REG_SZ    " << withControlsEscaped(value.data) << '\n';
    if (!listing.value->subKeys.empty())
        out << '\n';
    for (const auto& subKey : listing.value->subKeys)
        out << name << '\\' << keyNameEscaped(subKey) << '\n';
    return 0;
}

int exportHive(RegistryStore& store, Hive hive, std::ostream& out, std::ostream& err) {
    const auto keys = store.exportHive(hive);
    if (!keys.ok()) {
        err << "orvane reg: " << hiveName(hive) << ": " << keys.error << '\n';
        return kExitFailed;
    }
    out << "; orvane registry export of " << hiveName(hive) << '\n';
    std::string header(hiveName(hive));
    std::vector<std::size_t> nameEnds; // where each name of the current key ends in `header`
    for (const auto& key : *keys.value) {
        if (key.depth > 0) {
            nameEnds.resize(key.depth - 1);
            header.resize(nameEnds.empty() ? hiveName(hive).size() : nameEnds.back());
            header.append("\\").append(keyNameEscaped(key.name));
            nameEnds.push_back(header.size());
        }
        out << "\n[" << header << "]\n";
        for (const auto& value : key.values)
            out << (value.name.empty() ? "@" : quotedText(value.name)) << '='
                << quotedText(value.data) << '\n';
    }
    return 0;
}

int deleteKey(RegistryStore& store, const RegPath& path, std::ostream& err) {
    const auto status = store.deleteKeyTree(path.hive, path.keyPath);
    if (status.ok)
        return 0;
    err << "orvane reg: " << fullName(path.hive, path.keyPath) << ": " << status.error << '\n';
    return kExitFailed;
}

} // namespace

int runRegCommand(const std::vector<std::string>& args, RegistryStore& store, std::ostream& out,
                  std::ostream& err) {
    const auto path = args.size() == 2 ? parseRegPath(args[1]) : std::nullopt;
    if (!path) {
        err << kUsage;
        return kExitUsage;
    }
    if (args[0] == "query")
        return query(store, *path, out, err);
    if (args[0] == "delete")
        return deleteKey(store, *path, err);
    if (args[0] == "export" && path->keyPath.empty())
        return exportHive(store, path->hive, out, err);
    err << kUsage;
    return kExitUsage;
}

void addRegCommand(CLI::App& orvane, int& status) {
    auto args = std::make_shared<std::vector<std::string>>(2);
    CLI::App* command = orvane.add_subcommand("reg", "Look at and clean up the registry store");
    command->add_option("ACTION", (*args)[0], "query PATH, export HIVE or delete PATH")
        ->required()
        ->check(CLI::IsMember({"query", "export", "delete"}));
    command
        ->add_option(
            "PATH", (*args)[1],
            "HIVE\\KEY\\..., HIVE being HKEY_LOCAL_MACHINE (HKLM) or HKEY_CURRENT_USER (HKCU)")
        ->required();
    command->callback([args, &status] {
        RegistryStore store(registryFilesFromEnvironment());
        status = runRegCommand(*args, store, std::cout, std::cerr);
    });
}

} // namespace orvane
