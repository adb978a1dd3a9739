// Runs that exhaust a memory limit end with the error report "Nicht genug Speicher" and
// status 1, in main, in a click handler and unattended in the engine.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Address space for the whole process (`ulimit -v`, KiB): Qt's start-up fits, twenty arrays of
// texts do not.
constexpr const char* kLimitKiB = "524288";

constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// Twenty string arrays; fill() puts 100,000 texts of 255 bytes into a0, grow() copies a0
// into the other nineteen.
std::string arraysScript() {
    std::string script;
    std::string copies;
    for (const char* prefix : {"a", "b"}) {
        for (int k = 0; k < 10; ++k) {
            const std::string name = prefix + std::to_string(k);
            script += "string " + name + "[];\n";
            if (name != "a0")
                copies += name + " = a0; ";
        }
    }
    return script +
           "void fill() { string s; int i; s = \"xxxxxxxxxxxxxxx\"; s = s + s; s = s + s;\n"
           "  s = s + s; s = s + s; setArraySize(\"a0\", 100000);\n"
           "  i = 0; while (i < 100000) { a0[i] = s; i++; } }\n"
           "void grow(string sender) { " +
           copies + "}\n";
}

std::string largeBlocksMain() {
    std::string calls;
    for (const char* prefix : {"a", "b"}) {
        for (int k = 0; k < 10; ++k)
            calls += "setArraySize(\"" + std::string(prefix) + std::to_string(k) + "\", 1000000); ";
    }
    return "void main() { " + calls + "messageBox(\"nie\"); }\n";
}

constexpr const char* kGrowInMain = "void main() { fill(); grow(\"\"); messageBox(\"nie\"); }\n";
constexpr const char* kGrowOnClick =
    "void main() { fill(); createForm(\"f\", 0, 0, 200, 100, \"F\");\n"
    "  createButton(\"b\", 10, 10, 80, 24, \"f\", \"Los\", \"grow\"); showModal(\"f\");\n"
    "  messageBox(\"nie\"); }\n";

constexpr const char* kReportLine =
    R"({"event":"msgbox","flags":16,"caption":"Installer","text":"Nicht genug Speicher."})"
    "\n{\"event\":\"exit\",\"code\":1}\n";

// `text` as the body of a JSON string.
std::string jsonEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return escaped;
}

struct OutOfMemoryCase {
    const char* what;
    std::string main;
    const char* command; // run in the test folder, beside oom.ovs, demo.ovsp and answers
    const char* out;     // stdout
    const char* err;     // a line of stderr
};

TEST(OutOfMemory, EndsWithTheReportAndStatusOne) {
    if (kSanitized)
        GTEST_SKIP() << "a sanitizer's shadow memory does not fit under a memory limit";
    const fs::path dir = fs::temp_directory_path() / ("orvane_oom_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(ORVANE_ENGINE, dir / "demo", fs::copy_options::overwrite_existing);
    // The second click never comes: the run ends in the first one's handler.
    std::ofstream(dir / "answers") << "click b\nclick b\n";
    const std::string tool = ORVANE_TOOL;
    const std::string runScript = tool + " run --script oom.ovs";
    const std::string runScenario = tool + " run --scenario answers --script oom.ovs";
    const char* toolLine = "orvane run: Nicht genug Speicher\n";
    const OutOfMemoryCase cases[] = {
        {"many texts", kGrowInMain, runScript.c_str(), kReportLine, toolLine},
        {"large blocks", largeBlocksMain(), runScript.c_str(), kReportLine, toolLine},
        {"click handler", kGrowOnClick, runScenario.c_str(), kReportLine, toolLine},
        {"engine, click handler", kGrowOnClick, "./demo --answers answers", "",
         "demo: Installer: Nicht genug Speicher.\n"},
    };
    for (const OutOfMemoryCase& c : cases) {
        const std::string script = arraysScript() + c.main;
        std::ofstream(dir / "oom.ovs", std::ios::binary) << script;
        std::ofstream(dir / "demo.ovsp", std::ios::binary)
            << "{\"programfile\": \"" << jsonEscaped(script) << "\"}";
        const orvane::e2e::CommandResult result = orvane::e2e::runCommand(
            "cd '" + dir.string() + "' && HOME=. XDG_DATA_HOME=. ORVANE_REGISTRY_DIR=. sh -c '" +
            "ulimit -v " + kLimitKiB + "; exec timeout 120 " + c.command + "' 2>err");
        EXPECT_EQ(result.exitCode, 1) << c.what;
        EXPECT_EQ(result.out, c.out) << c.what;
        const std::string errors = orvane::e2e::readFile(dir / "err");
        EXPECT_NE(errors.find(c.err), std::string::npos) << c.what << ": " << errors;
    }
    fs::remove_all(dir);
}

} // namespace
