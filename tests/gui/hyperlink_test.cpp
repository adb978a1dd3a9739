// The hyperlink label: its look, the hover effect and what a click does.
#include "Hyperlink33.h"
#include "window_script.h"

#include <QEnterEvent>
#include <QTest>

namespace orvane::test {
namespace {

void hover(QWidget* widget, bool inside) {
    if (inside) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }
}

std::string style(const QFont& font) {
    return std::string(font.bold() ? "B" : "") + (font.italic() ? "I" : "") +
           (font.underline() ? "U" : "");
}

TEST(HyperLink, ItalicComesAndGoesOnTopOfTheCurrentStyle) {
    THyperLink link;
    EXPECT_EQ(style(link.font()), "BU");
    hover(&link, true);
    EXPECT_EQ(style(link.font()), "BIU");
    hover(&link, false);
    EXPECT_EQ(style(link.font()), "BU");
    QFont plain = link.font();
    plain.setBold(false);
    plain.setUnderline(false);
    link.setFont(plain);
    hover(&link, true);
    EXPECT_EQ(style(link.font()), "I");
}

TEST(HyperLink, AClickOpensTheTargetOrSaysWhatWentWrong) {
    THyperLink link;
    link.resize(80, 20);
    std::vector<std::string> events;
    link.setNotice([&](const QString& text, const QString& caption) {
        events.push_back(caption.toStdString() + ": " + text.toStdString());
    });
    bool opens = false;
    link.setOpener([&](const QString& target) {
        events.push_back("open " + target.toStdString());
        return opens;
    });
    QTest::mouseClick(&link, Qt::LeftButton);
    link.setURL("https://example.org");
    QTest::mouseClick(&link, Qt::LeftButton);
    opens = true;
    QTest::mouseClick(&link, Qt::LeftButton);
    QTest::mouseClick(&link, Qt::RightButton);
    link.setURL("");
    QObject::connect(&link, &THyperLink::clicked, [&] { events.push_back("clicked"); });
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(events,
              (std::vector<std::string>{"Fehler: Keine URL angegeben!", "open https://example.org",
                                        "Fehler!: Konnte keinen Internet-Browser finden!",
                                        "open https://example.org", "clicked"}));
}

class ScriptLink : public WindowScript {};

TEST_F(ScriptLink, LinksAreStaticTextAndReportThroughTheEnginesBoxes) {
    std::vector<std::string> opened;
    m_windows->setLinkOpener([&](const QString& target) {
        opened.push_back(target.toStdString());
        return true;
    });
    then([this] {
        QTest::mouseClick(widget("leer"), Qt::LeftButton);
        QTest::mouseClick(widget("web"), Qt::LeftButton);
        widget("f")->close();
    });
    const auto boxes = runMain(R"(
        createForm("f", 0, 0, 300, 200, "F");
        createHyperLink("leer", 10, 10, 100, 20, "f", "Leer", "");
        createHyperLink("web", 10, 40, 100, 20, "f", "Web", "https://example.org/a b");
        setCaption("web", "Seite\nzwei");
        setFontStyle("web", "Normal");
        setWordWrap("web", true);
        showModal("f");
    )");
    EXPECT_EQ(boxes, std::vector<std::string>{"Keine URL angegeben!"});
    EXPECT_EQ(m_dialog.boxes().at(0).caption, "Fehler");
    EXPECT_EQ(m_dialog.boxes().at(0).flags, mbIconError);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/a b"});
    auto* web = widgetAs<THyperLink>("web");
    EXPECT_EQ(web->text(), "Seite\\nzwei");
    EXPECT_EQ(style(web->font()), "");
    EXPECT_TRUE(web->wordWrap());
}

} // namespace
} // namespace orvane::test
