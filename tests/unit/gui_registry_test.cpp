// The GUI object registry and event dispatch, with stand-in objects (no display needed).
#include "gui_registry.h"
#include "recording_dialog.h"
#include "script_error.h"
#include "script_session.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

// Counts its own destruction, so tests see which objects the registry destroyed.
class StandIn : public GuiObject {
  public:
    explicit StandIn(std::vector<std::string>* destroyed, std::string label = {})
        : m_destroyed(destroyed), m_label(std::move(label)) {}
    ~StandIn() override {
        if (m_destroyed != nullptr)
            m_destroyed->push_back(m_label);
    }

  private:
    std::vector<std::string>* m_destroyed;
    std::string m_label;
};

std::vector<std::string> names(const GuiRegistry& registry) {
    std::vector<std::string> all;
    for (std::int32_t ix = 1; ix <= registry.guiObjectCount(); ++ix)
        all.push_back(registry.entry(ix).name);
    return all;
}

TEST(GuiRegistry, DeletingClosesTheGapAndDestroysOnlyThatObject) {
    std::vector<std::string> destroyed;
    GuiRegistry registry;
    for (const char* name : {"A", "B", "C"})
        registry.registerObject(std::make_unique<StandIn>(&destroyed, name), name, "");
    registry.deleteGUIObject(2);
    EXPECT_EQ(names(registry), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(registry.findObjectByName("C"), 2);
    EXPECT_EQ(destroyed, std::vector<std::string>{"B"});
    for (std::int32_t outside : {0, -1, 3, 1000})
        registry.deleteGUIObject(outside);
    EXPECT_EQ(names(registry), (std::vector<std::string>{"A", "C"}));
    registry.clear();
    EXPECT_EQ(registry.guiObjectCount(), 0);
    EXPECT_EQ(destroyed, (std::vector<std::string>{"B", "C", "A"}));
}

TEST(GuiRegistry, LookupsFindTheOldestExactNameAndCutLongNames) {
    GuiRegistry registry;
    registry.registerObject(std::make_unique<StandIn>(nullptr), "okButton", "first");
    registry.registerObject(std::make_unique<StandIn>(nullptr), "okButton", "second");
    const GuiObject* newer = registry.entry(2).obj.get();
    EXPECT_EQ(registry.findObjectByName("okButton"), 1);
    EXPECT_EQ(registry.findObjectByName("OkButton"), 0);
    EXPECT_EQ(registry.findObjectByName("okButton "), 0);
    EXPECT_EQ(registry.indexOfGUIObject(newer), 2);
    registry.deleteGUIObject(1);
    EXPECT_EQ(registry.findObjectByName("okButton"), 1);
    EXPECT_EQ(registry.entry(1).handler, "second");
    EXPECT_EQ(registry.indexOfGUIObject(newer), 1);
    StandIn stranger(nullptr);
    EXPECT_EQ(registry.indexOfGUIObject(&stranger), 0);
    EXPECT_EQ(registry.indexOfGUIObject(nullptr), 0);
    // Names and handlers are cut like every engine text.
    registry.registerObject(std::make_unique<StandIn>(nullptr), std::string(300, 'n'),
                            std::string(300, 'h'));
    EXPECT_EQ(registry.entry(2).name, std::string(255, 'n'));
    EXPECT_EQ(registry.entry(2).handler, std::string(255, 'h'));
}

TEST(GuiRegistry, TheThousandAndFirstObjectIsRefusedAndDestroyed) {
    std::vector<std::string> destroyed;
    GuiRegistry registry;
    for (int k = 0; k < GuiRegistry::kCapacity; ++k)
        registry.registerObject(std::make_unique<StandIn>(nullptr), "o" + std::to_string(k), "");
    try {
        registry.registerObject(std::make_unique<StandIn>(&destroyed, "extra"), "extra", "");
        FAIL() << "no error for the 1001st object";
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "Zu viele GUI-Objekte (höchstens 1000)");
    }
    EXPECT_EQ(registry.guiObjectCount(), 1000);
    EXPECT_EQ(registry.findObjectByName("extra"), 0);
    EXPECT_EQ(destroyed, std::vector<std::string>{"extra"});
}

// A session whose `createButton` registers a stand-in and whose `showModal` fires an
// event on every registered object in order, as clicks during a modal wait would.
class Dispatch : public ::testing::Test {
  protected:
    std::vector<std::string> run(const std::string& script) {
        ScriptSession session(m_dialog, nullptr);
        TCInterpreterEx& interpreter = session.interpreter();
        // Left over from an earlier run: the session empties the registry before main.
        interpreter.guiObjects.registerObject(std::make_unique<StandIn>(nullptr), "stale", "h");
        session.builtins().provide("createButton", [&](BuiltinServices&, const BuiltinArgs& args) {
            interpreter.guiObjects.registerObject(std::make_unique<StandIn>(nullptr),
                                                  args.text("name"), args.text("e"));
            return Value{};
        });
        session.builtins().provide("showModal", [&](BuiltinServices&, const BuiltinArgs&) {
            StandIn unregistered(nullptr);
            interpreter.GUIobjectClicked(&unregistered);
            for (std::int32_t ix = 1; ix <= interpreter.guiObjects.guiObjectCount(); ++ix)
                interpreter.GUIobjectClicked(interpreter.guiObjects.entry(ix).obj.get());
            return Value{};
        });
        session.run(script);
        std::vector<std::string> texts;
        for (const RecordedBox& box : m_dialog.boxes())
            texts.push_back(box.text);
        return texts;
    }

    RecordingDialog m_dialog;
};

TEST_F(Dispatch, HandlersGetTheSendersNameAndEmptyHandlersAreIgnored) {
    const auto texts = run(R"(
        void onOk(string sender) { messageBox("onOk " + sender); }
        void bare() { messageBox("bare"); }
        void main() {
            createButton("ok", 0, 0, 10, 10, "f", "x", "onOk");
            createButton("silent", 0, 0, 10, 10, "f", "x", "");
            createButton("other", 0, 0, 10, 10, "f", "x", "bare");
            createButton("ok", 0, 0, 10, 10, "f", "x", "onOk");
            showModal("f");
            showModal("f");
        })");
    EXPECT_EQ(texts, (std::vector<std::string>{"onOk ok", "bare", "onOk ok", "onOk ok", "bare",
                                               "onOk ok"}));
}

TEST_F(Dispatch, AHandlerThatNamesNoFunctionFailsWithItsCallPrefix) {
    const auto texts = run(R"(
        void main() {
            createButton("ok", 0, 0, 10, 10, "f", "x", "fehlt");
            showModal("f");
        })");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Fehler in TCInterpreterEx.callFunction (Name: main): "
                        "Fehler in TCInterpreterEx.callFunction (Name: showModal): "
                        "Fehler in TCInterpreterEx.callFunction (Name: fehlt): "
                        "Funktion \"fehlt\" nicht gefunden!");
}

} // namespace
} // namespace orvane::test
