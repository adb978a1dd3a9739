// Message boxes on real (offscreen) windows: icon, buttons, caption, line breaks, answer.
#include "qt_message_dialog.h"

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
    QString seenText;
    QString seenCaption;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons seenButtons;
    Qt::WindowModality seenModality = Qt::NonModal;
    // Answers the box once it is shown, as a user would.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        seenCaption = box->windowTitle();
        seenIcon = box->icon();
        seenButtons = box->standardButtons();
        seenModality = box->windowModality();
        box->button(row.press)->click();
    });
    QtMessageDialog dialog;
    EXPECT_EQ(dialog.show("Zeile 1\r\nZeile 2\rZeile 3\nZeile 4", "Überschrift", row.flags),
              row.answer);
    EXPECT_EQ(seenText, "Zeile 1\nZeile 2\nZeile 3\nZeile 4");
    EXPECT_EQ(seenCaption, "Überschrift");
    EXPECT_EQ(seenIcon, row.icon);
    EXPECT_EQ(seenButtons, row.buttons);
    EXPECT_EQ(seenModality, Qt::ApplicationModal);
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

} // namespace
} // namespace orvane::test
