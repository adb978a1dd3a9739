// Events of script controls: what calls a handler and what does not, and handler errors.
#include "tlistbox.h"
#include "window_script.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace orvane::test {
namespace {

class Events : public WindowScript {
  protected:
    // Clicks near the left edge, where check boxes and radio buttons have their box.
    void click(const std::string& name) {
        then([this, name] {
            QWidget* target = widget(name);
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(6, target->height() / 2));
        });
    }
};

const std::string kHandlers = R"(
    void onBox(string s) { if (isChecked(s)) messageBox(s + " an"); else messageBox(s + " aus"); }
    void onRadio(string s) { messageBox(s); }
    void onEdit(string s) { messageBox(s + ": " + getCaption(s)); }
    void onClose(string s) { closeForm("f"); messageBox("schließe"); }
)";

TEST_F(Events, ProgramChangesCallNoHandlerButTheUsersActionsDo) {
    click("box");
    then([this] { QTest::keyClicks(widgetAs<QLineEdit>("edit"), "ab"); });
    click("r1");
    click("close");
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createCheckbox("box", 10, 10, 100, 20, "f", "Kasten", "onBox");
        createRadiobutton("r1", 10, 40, 100, 20, "f", "Eins", "onRadio");
        createRadiobutton("r2", 10, 60, 100, 20, "f", "Zwei", "onRadio");
        createTextedit("edit", false, 10, 90, 100, 20, "f", "onEdit");
        createButton("close", 10, 120, 80, 25, "f", "Schließen", "onClose");
        setChecked("box", true);
        setChecked("r2", true);
        setCaption("edit", "vorher");
        setCaption("box", "Neu");
        setCaption("r1", "Erstens");
        showModal("f");
        messageBox("nach showModal");
    )",
                               kHandlers);
    EXPECT_EQ(boxes, (std::vector<std::string>{"box aus", "edit: vorhera", "edit: vorherab", "r1",
                                               "schließe", "nach showModal"}));
    EXPECT_TRUE(widgetAs<QAbstractButton>("r1")->isChecked());
    EXPECT_FALSE(widgetAs<QAbstractButton>("r2")->isChecked());
    EXPECT_EQ(widgetAs<QAbstractButton>("r1")->text(), "Erstens");
}

TEST_F(Events, RadioButtonsExcludeEachOtherOnlyWithinTheirContainer) {
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createPanel("p1", 0, 0, 150, 100, "f", "");
        createPanel("p2", 150, 0, 150, 100, "f", "");
        createRadiobutton("a1", 10, 10, 100, 20, "p1", "A1", "onRadio");
        createRadiobutton("a2", 10, 40, 100, 20, "p1", "A2", "onRadio");
        createRadiobutton("b1", 10, 10, 100, 20, "p2", "B1", "onRadio");
        setChecked("a1", true);
        setChecked("b1", true);
        setChecked("a2", true);
        if (isChecked("a1")) messageBox("a1");
        if (isChecked("a2")) messageBox("a2");
        if (isChecked("b1")) messageBox("b1");
        setChecked("a2", false);
        if (isChecked("a2")) messageBox("a2 noch");
    )",
                               kHandlers);
    EXPECT_EQ(boxes, (std::vector<std::string>{"a2", "b1"}));
}

TEST_F(Events, HandlersCanBeChangedAndTheDoubleClickGoesToTheListBoxOnly) {
    click("b");
    then([this] {
        auto* list = widgetAs<TListBox>("list");
        const QRect item = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
    });
    click("pic");
    click("quiet");
    click("b");
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createListBox("list", 10, 10, 100, 80, "f");
        createButton("b", 120, 10, 80, 25, "f", "B", "erster");
        createImage("pic", 120, 50, 40, 40, "f", "onPic");
        createButton("quiet", 120, 100, 80, 25, "f", "Q", "");
        string items[];
        items[1] = "eins";
        items[2] = "zwei";
        setListBoxArray("list", items);
        setClickHandler("b", "zweiter");
        setDoubleClickHandler("list", "onList");
        showModal("f");
    )",
                               R"(
        void erster(string s) { messageBox("erster"); }
        void zweiter(string s) { messageBox("zweiter " + s); setClickHandler(s, "ende"); }
        void ende(string s) { closeForm("f"); }
        void onPic(string s) { messageBox("Bild"); }
        void onList(string s) { messageBox(s + ": " + getListBoxCurrentItem(s)); }
    )");
    EXPECT_EQ(boxes, (std::vector<std::string>{"zweiter b", "list: zwei", "Bild"}));
}

TEST_F(Events, AHandlersErrorIsReportedAndTheFormStaysShown) {
    click("bad");
    then([this] { EXPECT_TRUE(widget("f")->isVisible()); });
    click("ok");
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createButton("bad", 10, 10, 80, 25, "f", "Fehler", "onBad");
        createButton("ok", 10, 40, 80, 25, "f", "OK", "onOk");
        showModal("f");
        messageBox("weiter");
    )",
                               R"(
        void onBad(string s) { strtoint("x"); messageBox("nie"); }
        void onOk(string s) { closeForm("f"); }
    )");
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Fehler in TCInterpreterEx.callFunction (Name: onBad): Fehler in "
                         "TCInterpreterEx.callFunction (Name: strtoint): 'x' ist kein gültiger "
                         "Integerwert.",
                         "weiter"}));
}

TEST_F(Events, PrintAppendsLinesToAMultiLineTextField) {
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createTextfield("log", 0, 0, 300, 200, "f");
        print("log", "eins");
        print("log", "zwei" + chr(13) + "drei");
    )");
    EXPECT_EQ(boxes, (std::vector<std::string>{"cool gell", "cool gell"}));
    EXPECT_EQ(widgetAs<QPlainTextEdit>("log")->toPlainText(), "eins\nzwei\ndrei");
}

} // namespace
} // namespace orvane::test
