// A test fixture that runs scripts with real (offscreen) script windows.
//
// Scripts run in-process through a ScriptSession with the window built-ins installed.
// While a modal form waits, the queued user actions run one at a time; a modal wait
// with no action left ends the run with a failure instead of hanging.
#pragma once

#include "recording_dialog.h"
#include "script_session.h"
#include "script_windows.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

// Thrown when a modal form waits and the test queued nothing more to do.
struct NoActionLeft {};

class FakePackage : public PackageAccess {
  public:
    // Elements of "binfiles": id and decoded bytes.
    std::vector<std::pair<std::string, std::string>> files;
    // Texts by path; any other path is not found.
    std::vector<std::pair<std::string, std::string>> texts;

    std::int32_t arrayLength(std::string_view) const override {
        return static_cast<std::int32_t>(files.size());
    }
    std::string text(std::string_view path) const override {
        for (const auto& [textPath, text] : texts) {
            if (textPath == path)
                return text;
        }
        throw ScriptError("Wert '" + std::string(path) + "' nicht gefunden");
    }
    std::optional<std::string> findEmbeddedFile(std::string_view id) const override {
        for (const auto& [fileId, bytes] : files) {
            if (fileId == id)
                return bytes;
        }
        return std::nullopt;
    }
};

class WindowScript : public ::testing::Test {
  protected:
    WindowScript();

    // Runs `script`; returns the texts of all message boxes shown.
    std::vector<std::string> run(const std::string& script);
    // Runs `main() { <body> }` after the given declarations.
    std::vector<std::string> runMain(const std::string& body, const std::string& declarations = {});
    // Starts afresh: a new session and windows, no boxes recorded.
    void restart();
    // Queues what the user does the next time a modal form waits.
    void then(std::function<void()> action) { m_actions.push_back(std::move(action)); }

    // The widget registered as `name` (the test fails when there is none).
    QWidget* widget(const std::string& name) const;
    template <class Widget> Widget* widgetAs(const std::string& name) const {
        auto* typed = qobject_cast<Widget*>(widget(name));
        EXPECT_NE(typed, nullptr) << name << " is not of the expected class";
        return typed;
    }
    std::vector<std::string> registeredNames() const;

    FakePackage m_package;
    RecordingDialog m_dialog;
    std::unique_ptr<ScriptSession> m_session;
    std::unique_ptr<ScriptWindows> m_windows;
    std::deque<std::function<void()>> m_actions;
};

// The whole error report for an error raised by built-in `builtin` called from main.
std::string errorFromMain(const std::string& builtin, const std::string& message);

} // namespace orvane::test
