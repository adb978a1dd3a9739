// Message boxes on real (offscreen) windows: icon, buttons, caption, line breaks, answer.
#include "qt_message_dialog.h"
#include "qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

struct BoxCase {
    const char* name;
    int flags;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;
    MessageAnswer answer;
};

void PrintTo(const BoxCase& row, std::ostream* out) {
    *out << row.name;
}

class QtBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtBoxes, ShowTheFlagsAndReportTheButton) {
    const BoxCase& row = GetParam();
    // Answers the box once it is shown, as a user would.
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Zeile 1\nZeile 2\nZeile 3\nZeile 4");
        EXPECT_EQ(box->windowTitle(), "Überschrift");
        EXPECT_EQ(box->icon(), row.icon);
        EXPECT_EQ(box->standardButtons(), row.buttons);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        answered = true;
        box->button(row.press)->click();
    });
    QtMessageDialog dialog;
    EXPECT_EQ(dialog.show("Zeile 1\r\nZeile 2\rZeile 3\nZeile 4", "Überschrift", row.flags),
              row.answer);
    EXPECT_TRUE(answered);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, QtBoxes,
    ::testing::Values(BoxCase{"Plain", mbOk, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok,
                              idOk},
                      BoxCase{"Error", mbIconError, QMessageBox::Critical, QMessageBox::Ok,
                              QMessageBox::Ok, idOk},
                      BoxCase{"Yes", mbYesNoQuestion, QMessageBox::Question,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, idYes},
                      BoxCase{"No", mbYesNoQuestion, QMessageBox::Question,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No, idNo}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

// The texts of a yes/no box's buttons, as made now.
std::string yesNoTexts() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return (box.button(QMessageBox::Yes)->text() + "/" + box.button(QMessageBox::No)->text())
        .toStdString();
}

TEST(QtTranslations, StandardButtonsFollowTheLanguageWhileInstalled) {
    const std::pair<const char*, const char*> cases[] = {
        {"de_DE", "&Ja/&Nein"}, {"fr_FR", "&Oui/&Non"}, {"en_US", "&Yes/&No"}, {"C", "&Yes/&No"}};
    for (const auto& [locale, texts] : cases) {
        SCOPED_TRACE(locale);
        {
            const QtTranslations translations{QLocale(locale)};
            EXPECT_EQ(yesNoTexts(), texts);
        }
        EXPECT_EQ(yesNoTexts(), "&Yes/&No");
    }
}

} // namespace
} // namespace orvane::test
