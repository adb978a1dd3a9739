// The hyperlink label: its look, the hover effect and what a click does.
#include "Hyperlink33.h"
#include "window_script.h"

#include <QEnterEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

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
    link.setOpener([&](const QString& target, const OpenResult& done) {
        events.push_back("open " + target.toStdString());
        done(opens);
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

TEST(HyperLink, AnAnswerAfterTheLinkIsGoneShowsNothing) {
    OpenResult later;
    bool noticed = false;
    auto* link = new THyperLink;
    link->resize(80, 20);
    link->setURL("https://example.org");
    link->setOpener([&](const QString&, const OpenResult& done) { later = done; });
    link->setNotice([&](const QString&, const QString&) { noticed = true; });
    QTest::mouseClick(link, Qt::LeftButton);
    delete link;
    ASSERT_TRUE(later);
    later(false);
    EXPECT_FALSE(noticed);
}

// The opener program is a shell script that notes its argument and ends as told.
TEST(DesktopOpener, TheOpenerProgramsStatusSaysWhetherTheTargetOpened) {
    struct Case {
        const char* what;
        const char* ending; // the rest of the script; empty: there is no such program
        QString target;
        bool opened;
        const char* argument;
        std::chrono::milliseconds deadline; // long enough for a busy machine where not tested
    };
    const std::chrono::milliseconds ample(30000);
    const Case cases[] = {
        {"a handler was found", "exit 0", "example.org", true, "http://example.org", ample},
        {"no handler", "exit 3", "https://example.org/a b", false, "https://example.org/a%20b",
         ample},
        {"still running at the deadline", "exec sleep 60", "mailto:a@b.c", true, "mailto:a@b.c",
         std::chrono::milliseconds(300)},
        {"no opener program", "", "https://example.org", false, "", ample},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        QTemporaryDir folder;
        const QString program = folder.filePath("opener");
        const QString noted = folder.filePath("argument");
        if (*row.ending != '\0') {
            QFile script(program);
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\nprintf %s \"$1\" > \"$0.arg\"\nmv \"$0.arg\" " +
                         noted.toUtf8() + "\n" + row.ending + "\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        std::optional<bool> opened;
        DesktopOpener(program, row.deadline)(row.target, [&](bool ok) { opened = ok; });
        EXPECT_FALSE(opened.has_value()); // never from inside the call
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened.has_value(); }, 40000));
        EXPECT_EQ(opened, row.opened);
        if (*row.argument != '\0') {
            EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(noted); }, 40000));
            QFile argument(noted);
            EXPECT_TRUE(argument.open(QIODevice::ReadOnly));
            EXPECT_EQ(argument.readAll().toStdString(), row.argument);
        }
    }
}

class ScriptLink : public WindowScript {};

TEST_F(ScriptLink, LinksAreStaticTextAndReportThroughTheEnginesBoxes) {
    std::vector<std::string> opened;
    m_windows->setLinkOpener([&](const QString& target, const OpenResult& done) {
        opened.push_back(target.toStdString());
        done(true);
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
