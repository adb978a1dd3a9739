// The list box's selection under the mouse, and panel colours inside coloured panels.
#include "tlistbox.h"
#include "tpanel.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane::test {
namespace {

TEST(ListBox, KeepsItsSelectionWhereNoItemIsHit) {
    struct Case {
        const char* what;
        std::function<void(TListBox&, QPoint item, QPoint blank)> act;
    };
    const Case cases[] = {
        {"click below the items",
         [](TListBox& list, QPoint, QPoint blank) {
             QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, blank);
         }},
        {"double-click below the items",
         [](TListBox& list, QPoint, QPoint blank) {
             QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, blank);
         }},
        {"drag from the item to below the items",
         [](TListBox& list, QPoint item, QPoint blank) {
             QTest::mousePress(list.viewport(), Qt::LeftButton, {}, item);
             QTest::mouseMove(list.viewport(), blank);
             QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, blank);
         }},
        {"control-click on the selected item",
         [](TListBox& list, QPoint item, QPoint) {
             QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, item);
         }},
        {"control-space on the selected item",
         [](TListBox& list, QPoint, QPoint) {
             QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
         }},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        TListBox list;
        list.addItems({"eins", "zwei"});
        list.resize(120, 200);
        list.show();
        const QPoint item = list.visualItemRect(list.item(1)).center();
        const QPoint blank(item.x(), list.viewport()->height() - 10);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, item);
        ASSERT_EQ(list.selectedRow(), 1);
        row.act(list, item, blank);
        EXPECT_EQ(list.selectedRow(), 1);
    }
}

// The colour painted in the middle of `inner`, as the window `outer` shows it.
std::string paintedColour(QWidget& outer, const QWidget& inner) {
    return outer.grab().toImage().pixelColor(inner.geometry().center()).name().toStdString();
}

TEST(Panel, PaintsItsOwnColourInsideAColouredPanel) {
    const QColor plain = QApplication::palette().color(QPalette::Window);
    const QColor red(255, 0, 0);
    const QColor green(0, 128, 0);
    QWidget window;
    window.resize(300, 200);
    TPanel outer(&window);
    outer.setGeometry(0, 0, 300, 200);
    auto* before = new TPanel(&outer); // made before the outer panel got its colour
    before->setGeometry(10, 10, 80, 80);
    QPalette colours = outer.palette();
    colours.setColor(QPalette::Window, red);
    outer.setPalette(colours);
    auto* after = new TPanel(&outer); // made after it
    after->setGeometry(100, 10, 80, 80);
    auto* own = new TPanel(&outer); // with a colour of its own, holding a plain panel
    own->setGeometry(190, 10, 100, 100);
    colours.setColor(QPalette::Window, green);
    own->setPalette(colours);
    auto* nested = new TPanel(own);
    nested->setGeometry(60, 60, 30, 30);
    window.show();
    EXPECT_EQ(paintedColour(window, outer), red.name().toStdString());
    EXPECT_EQ(paintedColour(window, *before), plain.name().toStdString());
    EXPECT_EQ(paintedColour(window, *after), plain.name().toStdString());
    EXPECT_EQ(paintedColour(window, *own), green.name().toStdString());
    EXPECT_EQ(paintedColour(*own, *nested), plain.name().toStdString());
}

} // namespace
} // namespace orvane::test
