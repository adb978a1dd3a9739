// The script-window test fixture.
#include "window_script.h"

#include <QApplication>

namespace orvane::test {

WindowScript::WindowScript() {
    restart();
}

void WindowScript::restart() {
    m_windows.reset();
    m_session.reset();
    m_dialog.clear();
    m_session = std::make_unique<ScriptSession>(m_dialog, &m_package);
    m_windows =
        std::make_unique<ScriptWindows>(m_session->interpreter(), [this](const std::string& text) {
            m_session->showErrorReport(text);
        });
    m_windows->install(m_session->builtins());
    m_windows->modalLoops().setWaitHook([this] {
        if (m_actions.empty())
            throw NoActionLeft{};
        const auto action = std::move(m_actions.front());
        m_actions.pop_front();
        action();
    });
}

std::vector<std::string> WindowScript::run(const std::string& script) {
    try {
        m_session->run(script);
    } catch (const NoActionLeft&) {
        ADD_FAILURE() << "a modal form waited with no action left";
    }
    EXPECT_TRUE(m_actions.empty()) << m_actions.size() << " action(s) left unused";
    std::vector<std::string> texts;
    for (const RecordedBox& box : m_dialog.boxes())
        texts.push_back(box.text);
    return texts;
}

std::vector<std::string> WindowScript::runMain(const std::string& body,
                                               const std::string& declarations) {
    return run(declarations + "\nvoid main() {\n" + body + "\n}\n");
}

QWidget* WindowScript::widget(const std::string& name) const {
    const ScriptObject* object = m_windows->find(name);
    EXPECT_NE(object, nullptr) << name << " is not registered";
    return object != nullptr ? object->widget() : nullptr;
}

std::vector<std::string> WindowScript::registeredNames() const {
    std::vector<std::string> names;
    const GuiRegistry& registry = m_windows->registry();
    for (std::int32_t ix = 1; ix <= registry.guiObjectCount(); ++ix)
        names.push_back(registry.entry(ix).name);
    return names;
}

std::string errorFromMain(const std::string& builtin, const std::string& message) {
    std::string text = "Fehler in TCInterpreterEx.callFunction (Name: main): "
                       "Fehler in TCInterpreterEx.callFunction (Name: " +
                       builtin + "): " + message;
    if (static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

} // namespace orvane::test
