// Modal forms: nesting, closing, showing again, and objects freed while events run.
#include "window_script.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace orvane::test {
namespace {

class Modal : public WindowScript {
  protected:
    void click(const std::string& name) {
        then([this, name] { QTest::mouseClick(widget(name), Qt::LeftButton); });
    }
};

const std::string kTwoForms = R"(
    createForm("f1", 0, 0, 300, 200, "Eins");
    createButton("open", 10, 10, 80, 25, "f1", "Öffnen", "onOpen");
    createForm("f2", 0, 0, 200, 100, "Zwei");
    createButton("done", 10, 10, 80, 25, "f2", "Fertig", "onDone");
)";

const std::string kTwoFormHandlers = R"(
    void onOpen(string s) { messageBox("öffne"); showModal("f2"); messageBox("zurück in f1"); }
    void onDone(string s) { closeForm("f2"); messageBox("f2 zu"); }
)";

TEST_F(Modal, AHandlerShowsASecondFormModallyAndBothLoopsEndInTurn) {
    click("open");
    then([this] {
        EXPECT_EQ(QApplication::activeModalWidget(), widget("f2"));
        QTest::mouseClick(widget("done"), Qt::LeftButton);
    });
    click("open");
    click("done");
    then([this] { widget("f1")->windowHandle()->close(); }); // the window's close button
    const auto boxes = runMain(kTwoForms + R"(
        showModal("f1");
        messageBox("Ende");
    )",
                               kTwoFormHandlers);
    EXPECT_EQ(boxes, (std::vector<std::string>{"öffne", "f2 zu", "zurück in f1", "öffne", "f2 zu",
                                               "zurück in f1", "Ende"}));
    EXPECT_FALSE(widget("f1")->isVisible());
    EXPECT_EQ(widget("f1")->windowModality(), Qt::NonModal);
}

TEST_F(Modal, AVisibleFormCannotBecomeModal) {
    const auto boxes = runMain(kTwoForms + R"(
        showUnmodal("f1");
        showModal("f1");
    )");
    EXPECT_EQ(boxes, std::vector<std::string>{errorFromMain(
                         "showModal", "Sichtbares Fenster kann nicht in modales geändert werden")});
}

TEST_F(Modal, CentredFormsAppearInTheMiddleOfTheScreen) {
    then([this] {
        const QRect screen = QApplication::primaryScreen()->availableGeometry();
        // Within the few pixels a window frame adds.
        const QPoint offset = widget("f1")->frameGeometry().center() - screen.center();
        EXPECT_LE(offset.manhattanLength(), 4);
        widget("f1")->close();
    });
    runMain(kTwoForms + R"(
        centerForm("f1");
        showModal("f1");
    )");
}

TEST_F(Modal, AHandlerFreeingItsOwnButtonAndFormDefersTheirDestruction) {
    QPointer<QWidget> form;
    QPointer<QWidget> button;
    then([&] {
        form = widget("f1");
        button = widget("open");
        QTest::mouseClick(button, Qt::LeftButton);
        // The click has been delivered: the entries are gone, the widgets still there.
        EXPECT_EQ(registeredNames(), (std::vector<std::string>{"f2", "done"}));
        EXPECT_FALSE(button.isNull());
        EXPECT_TRUE(form->isHidden());
    });
    const auto boxes = runMain(kTwoForms + R"(
        showModal("f1");
        messageBox("Ende");
    )",
                               R"(
        void onOpen(string s) { freeObject(s); freeObject("f1"); messageBox("frei"); }
    )");
    EXPECT_EQ(boxes, (std::vector<std::string>{"frei", "Ende"}));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(button.isNull());
}

TEST_F(Modal, FreeingAContainerRemovesTheEntriesOfItsControls) {
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createPanel("p", 0, 0, 300, 100, "f", "");
        createLabel("x", 0, 0, 50, 20, "p", "alt");
        createButton("b", 0, 120, 80, 25, "f", "B", "");
        createForm("g", 0, 0, 300, 200, "G");
        createLabel("x", 0, 0, 50, 20, "g", "neu");
        createLabel("y", 0, 30, 50, 20, "g", "y");
        freeObject("p");
        setCaption("x", "geändert");
        freeObject("y");
        messageBox("weiter");
    )");
    EXPECT_EQ(boxes, std::vector<std::string>{"weiter"});
    EXPECT_EQ(registeredNames(), (std::vector<std::string>{"f", "b", "g", "x"}));
    EXPECT_EQ(m_windows->find("x")->caption(), "geändert");
    EXPECT_EQ(widget("x")->parentWidget(), widget("g"));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(Modal, LongInstallationsRepaintTheShownFormsOnly) {
    runMain(kTwoForms + "showUnmodal(\"f1\");");
    PaintCounter shown;
    PaintCounter hidden;
    widget("f1")->installEventFilter(&shown);
    widget("f2")->installEventFilter(&hidden);
    m_session->builtins().services().paintBetweenChunks();
    EXPECT_GE(shown.paints, 1);
    EXPECT_EQ(hidden.paints, 0);
}

} // namespace
} // namespace orvane::test
