// Desktop entries: the text of a shortcut and writing it.
#include "desktop_entry.h"

#include "atomic_file.h"

namespace orvane {

namespace {

// Desktop entries are executable so that desktops offer them as launchers.
constexpr mode_t kDesktopEntryMode = 0755;

// A string value: a backslash and the control characters that would end the line are escaped.
std::string escapeValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One argument of Exec in double quotes; inside them '"', '`', '$' and '\' are escaped, and '%'
// is doubled since it starts a field code anywhere in Exec.
std::string quoteArgument(std::string_view argument) {
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        out += c;
        if (c == '%')
            out += '%';
    }
    return out + '"';
}

std::string doublePercent(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out;
}

// The shortcut file's name without its folder and without its last extension.
std::string linkName(std::string_view file) {
    const std::size_t slash = file.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? file : file.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::string(name);
}

} // namespace

std::string desktopEntryText(const ShellLink& link) {
    std::string exec = quoteArgument(link.target);
    if (!link.arguments.empty())
        exec.append(" ").append(doublePercent(link.arguments));
    std::string text = "[Desktop Entry]\nType=Application\n";
    text.append("Name=").append(escapeValue(linkName(link.file))).append("\n");
    text.append("Exec=").append(escapeValue(exec)).append("\n");
    text.append("Path=").append(escapeValue(link.workingFolder)).append("\n");
    text.append("Comment=").append(escapeValue(link.description)).append("\n");
    return text;
}

bool writeDesktopEntry(const ShellLink& link, std::string& reason) {
    ReplacementFile file;
    file.setExactMode(kDesktopEntryMode);
    return file.open(link.file, kDesktopEntryMode, reason) &&
           file.write(desktopEntryText(link), reason) && file.commit(true, reason);
}

} // namespace orvane
