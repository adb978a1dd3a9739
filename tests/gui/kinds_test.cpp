// The twelve kinds: what each creator makes, and every built-in given an object of a kind
// it does not accept (or a name nobody registered).
#include "Hyperlink33.h"
#include "dock_layout.h"
#include "gui_kind.h"
#include "tform.h"
#include "tmemo.h"
#include "tpanel.h"
#include "tprogressbar.h"
#include "window_script.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaProperty>

#include <tuple>

namespace orvane::test {
namespace {

// One object of every kind, each named after its kind, all on the form "form".
const std::string kAllKinds = R"(
    createForm("form", 10, 10, 400, 300, "Fenster");
    createProgressBar("progressbar", 10, 10, 100, 20, "form");
    createListBox("listbox", 10, 40, 100, 60, "form");
    createLabel("label", 10, 110, 100, 40, "form", "Zeile1\nZeile2 a\\nb c\td");
    createImage("image", 10, 160, 50, 50, "form", "");
    createPanel("panel", 120, 10, 150, 100, "form", "Tafel");
    createButton("button", 120, 120, 80, 25, "form", "OK", "");
    createHyperLink("hyperlink", 120, 150, 100, 20, "form", "Link", "https://example.org");
    createCheckbox("checkbox", 280, 10, 100, 20, "form", "Kasten", "");
    createRadiobutton("radiobutton", 280, 40, 100, 20, "form", "Knopf", "");
    createTextfield("textfield", 280, 70, 100, 60, "form");
    createTextedit("textedit", true, 280, 140, 100, 20, "form", "");
)";

// In the order the script creates them.
const std::vector<std::string> kKindNames = {"form",     "progressbar", "listbox",   "label",
                                             "image",    "panel",       "button",    "hyperlink",
                                             "checkbox", "radiobutton", "textfield", "textedit"};

// Everything a built-in could change on a widget, as text: its Qt properties, colours,
// frame, docking and list items.
std::string fingerprint(const QWidget* widget) {
    std::string print;
    const QMetaObject* meta = widget->metaObject();
    for (int k = 0; k < meta->propertyCount(); ++k) {
        const QVariant value = meta->property(k).read(widget);
        if (value.canConvert<QString>())
            print +=
                std::string(meta->property(k).name()) + "=" + value.toString().toStdString() + ";";
    }
    print += "bg=" + widget->palette().color(QPalette::Window).name().toStdString();
    print += ";fill=" + std::to_string(widget->autoFillBackground());
    print += ";dock=" + std::to_string(static_cast<int>(DockLayout::edgeOf(widget)));
    if (const auto* frame = qobject_cast<const QFrame*>(widget))
        print += ";frame=" + std::to_string(frame->frameStyle());
    if (const auto* panel = qobject_cast<const TPanel*>(widget))
        print += ";caption=" + panel->caption().toStdString();
    return print;
}

class Kinds : public WindowScript {
  protected:
    // Runs the objects' script with `call` after it.
    std::vector<std::string> runWith(const std::string& call) {
        return runMain(kAllKinds + "string a[];\nstring s;\n" + call);
    }
    // Each registered object's name, handler and fingerprint.
    std::vector<std::string> prints() const {
        std::vector<std::string> all;
        for (std::int32_t ix = 1; ix <= m_windows->registry().guiObjectCount(); ++ix) {
            const tGUIObject& entry = m_windows->registry().entry(ix);
            all.push_back(entry.name + "|" + entry.handler + "|" +
                          fingerprint(m_windows->objectAt(ix)->widget()));
        }
        return all;
    }
};

TEST_F(Kinds, EachCreatorMakesItsOwnKindWithItsSettings) {
    EXPECT_EQ(runMain(kAllKinds + "setCaption(\"textedit\", \"geheim\");\n"
                                  "messageBox(getCaption(\"textedit\"));"),
              std::vector<std::string>{"geheim"});
    EXPECT_EQ(registeredNames(), kKindNames);
    QWidget* form = widget("form");
    for (const std::string& name : kKindNames) {
        EXPECT_EQ(kindName(kindOf(widget(name))), name);
        if (name != "form") {
            EXPECT_EQ(widget(name)->parentWidget(), form) << name;
            EXPECT_FALSE(widget(name)->isHidden()) << name;
        }
    }
    EXPECT_TRUE(form->isHidden());
    EXPECT_EQ(form->windowTitle(), "Fenster");
    EXPECT_EQ(form->minimumSize(), QSize(400, 300));
    EXPECT_EQ(form->maximumSize(), QSize(400, 300));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(widgetAs<TLabel>("label")->text(), "Zeile1\nZeile2 a\\\nb c\\td");
    EXPECT_EQ(widgetAs<TLabel>("label")->geometry(), QRect(10, 110, 100, 40));
    EXPECT_EQ(widgetAs<TPanel>("panel")->caption(), "Tafel");
    EXPECT_EQ(widgetAs<TPanel>("panel")->frameStyle(), QFrame::Panel | QFrame::Raised);
    EXPECT_TRUE(widget("panel")->autoFillBackground());
    EXPECT_EQ(widgetAs<TMemo>("textfield")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(widgetAs<QLineEdit>("textedit")->displayText(), "******");
    EXPECT_FALSE(widgetAs<QAbstractButton>("checkbox")->isChecked());
    EXPECT_FALSE(widgetAs<QAbstractButton>("radiobutton")->isChecked());
    EXPECT_EQ(widgetAs<TProgressBar>("progressbar")->value(), 0);
    EXPECT_EQ(widgetAs<TProgressBar>("progressbar")->maximum(), 100);
    auto* link = widgetAs<THyperLink>("hyperlink");
    EXPECT_EQ(link->URL(), "https://example.org");
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(link->font().bold() && link->font().underline() && !link->font().italic());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

struct WrongKindCase {
    const char* call;
    std::vector<std::string> boxes; // boxes expected after the call
};

void PrintTo(const WrongKindCase& row, std::ostream* out) {
    *out << row.call;
}

class WrongKind : public Kinds, public ::testing::WithParamInterface<WrongKindCase> {};

TEST_P(WrongKind, RaisesOrLeavesEverythingAsItWas) {
    runWith("");
    const std::vector<std::string> reference = prints();
    restart();
    EXPECT_EQ(runWith(GetParam().call), GetParam().boxes);
    EXPECT_EQ(prints(), reference);
}

std::string cast(const std::string& builtin) {
    return errorFromMain(builtin, "Ungültige Typumwandlung");
}

std::string unknown(const std::string& builtin) {
    return errorFromMain(builtin, "GUI-Objekt 'nix' nicht gefunden");
}

INSTANTIATE_TEST_SUITE_P(
    Calls, WrongKind,
    ::testing::Values(
        // required kinds
        WrongKindCase{"showModal(\"label\");", {cast("showModal")}},
        WrongKindCase{"showUnmodal(\"panel\");", {cast("showUnmodal")}},
        WrongKindCase{"closeForm(\"button\");", {cast("closeForm")}},
        WrongKindCase{"centerForm(\"image\");", {cast("centerForm")}},
        WrongKindCase{"setImage(\"form\", \"/gibt/es/nicht.bmp\");", {cast("setImage")}},
        WrongKindCase{"setListBoxArray(\"textfield\", a);", {cast("setListBoxArray")}},
        WrongKindCase{"print(\"label\", \"x\");", {"cool gell", cast("print")}},
        // unknown names where an object is needed
        WrongKindCase{"showModal(\"nix\");", {unknown("showModal")}},
        WrongKindCase{"showUnmodal(\"nix\");", {unknown("showUnmodal")}},
        WrongKindCase{"closeForm(\"nix\");", {unknown("closeForm")}},
        WrongKindCase{"centerForm(\"nix\");", {unknown("centerForm")}},
        WrongKindCase{"setImage(\"nix\", \"a.bmp\");", {unknown("setImage")}},
        WrongKindCase{"setListBoxArray(\"nix\", a);", {unknown("setListBoxArray")}},
        WrongKindCase{"setClickHandler(\"nix\", \"h\");", {unknown("setClickHandler")}},
        WrongKindCase{"setDoubleClickHandler(\"nix\", \"h\");", {unknown("setDoubleClickHandler")}},
        WrongKindCase{"print(\"nix\", \"x\");", {"cool gell", unknown("print")}},
        // tested kinds: no effect, default results
        WrongKindCase{"messageBox(\"[\" + getListBoxCurrentItem(\"button\") + \"]\");", {"[]"}},
        WrongKindCase{"messageBox(\"[\" + getCaption(\"label\") + \"]\");", {"[]"}},
        WrongKindCase{"messageBox(\"[\" + getCaption(\"nix\") + \"]\");", {"[]"}},
        WrongKindCase{"if (isChecked(\"button\")) messageBox(\"ja\"); else messageBox(\"nein\");",
                      {"nein"}},
        WrongKindCase{"setWordWrap(\"button\", true); setWordWrap(\"panel\", true);", {}},
        WrongKindCase{"repaint(\"panel\"); repaint(\"nix\");", {}},
        WrongKindCase{"setChecked(\"button\", true); setChecked(\"listbox\", true);", {}},
        WrongKindCase{"setPanelBorders(\"form\", true); setPanelBorders(\"label\", false);", {}},
        WrongKindCase{"setProgress(\"listbox\", 50); setProgress(\"nix\", 50);", {}},
        WrongKindCase{"setEnabled(\"textfield\", false); setEnabled(\"listbox\", false);"
                      "setEnabled(\"textedit\", false); setEnabled(\"form\", false);",
                      {}},
        WrongKindCase{"setCaption(\"form\", \"x\"); setCaption(\"textfield\", \"x\");"
                      "setCaption(\"listbox\", \"x\"); setCaption(\"progressbar\", \"x\");"
                      "setCaption(\"image\", \"x\"); setCaption(\"nix\", \"x\");",
                      {}},
        WrongKindCase{"setAlign(\"button\", 4); setAlign(\"label\", 1); setAlign(\"panel\", 6);"
                      "setAlign(\"image\", 0);",
                      {}},
        WrongKindCase{"setColor(\"button\", 255); setColor(\"form\", 255);", {}},
        WrongKindCase{"setFontStyle(\"button\", \"Bold\"); setFontStyle(\"label\", \"bold\");", {}},
        WrongKindCase{"setPictureFromXML(\"label\", \"logo\"); setPictureFromXML(\"nix\", \"x\");",
                      {}},
        WrongKindCase{"setListBoxArray(\"label\", s); setListBoxArray(\"nix\", s);", {}},
        WrongKindCase{"freeObject(\"nix\");", {}},
        // a list box without a selected item
        WrongKindCase{"getListBoxCurrentItem(\"listbox\");",
                      {errorFromMain("getListBoxCurrentItem",
                                     "Listenindex außerhalb des gültigen Bereichs (-1)")}}));

TEST_F(Kinds, StatesColoursAndFontsOfTheAcceptedKinds) {
    EXPECT_EQ(runMain(kAllKinds + R"(
        string a[];
        setColor("label", rgb(255, 128, 0));
        setColor("panel", 16711680);
        setFontStyle("label", "Bold");
        setWordWrap("label", true);
        setPanelBorders("panel", false);
        setProgress("progressbar", 150);
        setEnabled("button", false);
        setEnabled("checkbox", false);
        setChecked("checkbox", true);
        setListBoxArray("listbox", a);
        setListBoxArray("listbox", a);
        centerForm("form");
    )"),
              std::vector<std::string>{});
    EXPECT_EQ(widget("label")->palette().color(QPalette::Window), QColor(255, 128, 0));
    EXPECT_TRUE(widget("label")->autoFillBackground());
    EXPECT_EQ(widget("panel")->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_TRUE(widget("label")->font().bold());
    EXPECT_TRUE(widgetAs<TLabel>("label")->wordWrap());
    EXPECT_EQ(widgetAs<TPanel>("panel")->frameStyle(), QFrame::NoFrame);
    EXPECT_EQ(widgetAs<TProgressBar>("progressbar")->value(), 100);
    EXPECT_FALSE(widget("button")->isEnabled());
    EXPECT_FALSE(widget("checkbox")->isEnabled());
    EXPECT_TRUE(widgetAs<QAbstractButton>("checkbox")->isChecked());
    // Declared arrays hold 100 elements; the list is not cleared in between.
    EXPECT_EQ(qobject_cast<QListWidget*>(widget("listbox"))->count(), 200);
    EXPECT_TRUE(widgetAs<TForm>("form")->screenCenter());
}

TEST_F(Kinds, AContainerThatHoldsNoControlsOrIsUnknownLeavesTheControlRegistered) {
    const std::string cast = "Ungültige Typumwandlung";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"createButton(\"new\", 1, 2, 30, 40, \"label\", \"x\", \"\");", "createButton", cast},
        {"createPanel(\"new\", 1, 2, 30, 40, \"hyperlink\", \"x\");", "createPanel", cast},
        {"createCheckbox(\"new\", 1, 2, 30, 40, \"image\", \"x\", \"\");", "createCheckbox", cast},
        {"createLabel(\"new\", 1, 2, 30, 40, \"nix\", \"x\");", "createLabel",
         "GUI-Objekt 'nix' nicht gefunden"},
        {"createButton(\"new\", 1, 2, 30, 40, \"new\", \"x\", \"\");", "createButton",
         "Ein Steuerelement kann nicht sein eigenes übergeordnetes Element sein"},
    };
    for (const auto& [call, builtin, message] : cases) {
        SCOPED_TRACE(call);
        restart();
        EXPECT_EQ(runWith(call), std::vector<std::string>{errorFromMain(builtin, message)});
        const ScriptObject* made = m_windows->find("new");
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(m_windows->registry().guiObjectCount(), 13);
        EXPECT_EQ(made->widget()->parentWidget(), nullptr);
        EXPECT_TRUE(made->widget()->isHidden());
        EXPECT_EQ(made->widget()->geometry(), QRect(1, 2, 30, 40));
    }
}

} // namespace
} // namespace orvane::test
