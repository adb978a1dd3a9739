// Writes the catalogue's declarations as the lines docs/builtins.md must hold.
#include "builtin_signatures.h"

#include "builtin_catalogue.h"
#include "c_scanner.h"

#include <cctype>

namespace orvane {

namespace {

std::string typeText(std::int32_t type) {
    std::string name = TScanner::Typ2Str(type);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string signature(const BuiltinEntry& entry) {
    std::string line = "### `" + typeText(entry.returnType) + " " + entry.name + "(";
    for (std::size_t k = 0; k < entry.parameters.size(); ++k)
        line += (k == 0 ? "" : ", ") + typeText(entry.parameters[k].type) + " " +
                entry.parameters[k].name;
    return line + ")`";
}

} // namespace

std::vector<std::string> builtinReferenceLines() {
    std::vector<std::string> lines;
    for (const BuiltinEntry& entry : builtinCatalogue())
        lines.push_back(signature(entry));
    for (const GlobalConstant& global : builtinGlobals())
        lines.push_back("| `" + std::string(global.name) + "` | " + std::to_string(global.value) +
                        " |");
    return lines;
}

} // namespace orvane
