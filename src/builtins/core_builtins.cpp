// The core built-ins.
#include "core_builtins.h"

#include "allgemeines.h"
#include "md5.h"
#include "runtime_errors.h"
#include "short_text.h"
#include "utf8.h"

#include <chrono>
#include <ctime>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace orvane::core_builtins {

namespace {

// Replacements whose result contains the search text again are bounded by this many
// rounds; ordinary replacements end long before.
constexpr int kMaxReplaceRounds = 100'000;

std::mt19937& generator() {
    static std::mt19937 engine(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    return engine;
}

} // namespace

std::int32_t parseInteger(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    bool hexadecimal = false;
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        hexadecimal = true;
        rest.remove_prefix(2);
    } else if (!rest.empty() &&
               (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
        hexadecimal = true;
        rest.remove_prefix(1);
    }
    if (rest.empty())
        throw runtime_errors::notAnInteger(text);
    // Whatever the base, the value must lie in the signed 32-bit range: up to 2^31 - 1,
    // and 2^31 only with a minus sign in front.
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (char c : rest) {
        const int digit = hexadecimal ? hexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0)
            throw runtime_errors::notAnInteger(text);
        value = value * (hexadecimal ? 16 : 10) + digit;
        if (value > limit)
            throw runtime_errors::notAnInteger(text);
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string replaceAll(std::string text, std::string_view search, std::string_view replacement) {
    if (search.empty())
        return text;
    if (replacement.find(search) != std::string_view::npos) {
        // Searching from the start again would never end: replace in one pass.
        std::string result;
        std::size_t from = 0;
        for (std::size_t at = text.find(search); at != std::string::npos;
             at = text.find(search, from)) {
            result.append(text, from, at - from).append(replacement);
            from = at + search.size();
        }
        return result.append(text, from);
    }
    for (int round = 0; round < kMaxReplaceRounds; ++round) {
        const std::size_t at = text.find(search);
        if (at == std::string::npos)
            break;
        text.replace(at, search.size(), replacement);
    }
    return text;
}

std::string driveOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        return std::string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // "\\server\share": up to the backslash after the share name.
        const std::size_t serverEnd = path.find('\\', 2);
        if (serverEnd == std::string_view::npos)
            return std::string(path);
        const std::size_t shareEnd = path.find('\\', serverEnd + 1);
        return std::string(path.substr(0, shareEnd));
    }
    return {};
}

Value messageBox(BuiltinServices& services, const BuiltinArgs& args) {
    services.dialog.show(args.text("s1"), "Messagebox", mbOk);
    return Value{};
}

Value print(BuiltinServices& services, const BuiltinArgs& args) {
    services.dialog.show("cool gell", "", mbOk);
    if (services.textFields != nullptr)
        services.textFields->appendLine(args.text("textfield"), args.text("s1"));
    return Value{};
}

Value chr(BuiltinServices&, const BuiltinArgs& args) {
    return generateStringData(utf16UnitToUtf8(static_cast<std::uint16_t>(args.integer("i1"))));
}

Value inttostr(BuiltinServices&, const BuiltinArgs& args) {
    return generateStringData(std::to_string(args.integer("i1")));
}

Value strtoint(BuiltinServices&, const BuiltinArgs& args) {
    return generateIntData(parseInteger(args.text("s1")));
}

Value gettickcount(BuiltinServices&, const BuiltinArgs&) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto millis = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                        static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
    return generateIntData(static_cast<std::int32_t>(static_cast<std::uint32_t>(millis)));
}

Value getTokenNumber(BuiltinServices& services, const BuiltinArgs& args) {
    const std::string path = args.text("s1");
    if (services.package == nullptr)
        throw ScriptError("Wert '" + path + "' nicht gefunden");
    return generateIntData(services.package->arrayLength(path));
}

Value MD5(BuiltinServices&, const BuiltinArgs& args) {
    return generateStringData(md5Hex(args.text("text")));
}

Value askYesNo(BuiltinServices& services, const BuiltinArgs& args) {
    return generateBoolData(services.dialog.show(args.text("text"), "Frage", mbYesNoQuestion) ==
                            idYes);
}

Value directoryExists(BuiltinServices&, const BuiltinArgs& args) {
    const std::string dir = nativePath(args.text("dir"));
    struct stat info {};
    return generateBoolData(!dir.empty() && ::stat(dir.c_str(), &info) == 0 &&
                            S_ISDIR(info.st_mode));
}

Value extractFileDrive(BuiltinServices&, const BuiltinArgs& args) {
    return generateStringData(driveOf(args.text("name")));
}

Value replace(BuiltinServices&, const BuiltinArgs& args) {
    return generateStringData(replaceAll(args.text("s1"), args.text("s2"), args.text("s3")));
}

Value rgb(BuiltinServices&, const BuiltinArgs& args) {
    const std::int32_t red = args.integer("r") & 255;
    const std::int32_t green = args.integer("g") & 255;
    const std::int32_t blue = args.integer("b") & 255;
    return generateIntData(red + green * 256 + blue * 65536);
}

Value sleep(BuiltinServices&, const BuiltinArgs& args) {
    const std::int32_t wait = args.integer("wait");
    if (wait > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    return Value{};
}

// A process exit status is one byte.
Value setExitCode(BuiltinServices& services, const BuiltinArgs& args) {
    const std::int32_t code = args.integer("code");
    if (code < 0 || code > 255)
        throw ScriptError("Ungültiger Exitcode " + std::to_string(code) + " (erlaubt: 0 bis 255)");
    services.exitCode = code;
    return Value{};
}

Value random(BuiltinServices&, const BuiltinArgs& args) {
    const std::int32_t range = args.integer("i1");
    if (range <= 1)
        return generateIntData(0);
    std::uniform_int_distribution<std::int32_t> pick(0, range - 1);
    return generateIntData(pick(generator()));
}

} // namespace orvane::core_builtins
