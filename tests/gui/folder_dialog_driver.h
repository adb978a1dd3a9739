// Test support: runs the folder dialog and acts on its windows while they wait for the user.
#pragma once

#include "directory_list_box.h"
#include "orvaneOrdnerDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>

namespace orvane::test {

using Step = std::function<void(QDialog& window)>;

// A temporary folder holding `paths`. The dialog changes the current folder; it is set
// back when the tree goes.
struct FolderTree {
    FolderTree(std::initializer_list<const char*> paths) {
        EXPECT_TRUE(temp.isValid());
        for (const char* path : paths)
            QDir(root).mkpath(path);
    }
    ~FolderTree() { QDir::setCurrent(startFolder); }

    QTemporaryDir temp;
    const QString root = temp.path();
    const QString startFolder = QDir::currentPath();
};

// Each time one of the dialog's windows waits for the user, the next step acts on it.
inline QMetaObject::Connection serveSteps(TOrvaneOrdnerDialog& dialog,
                                          std::shared_ptr<std::deque<Step>> steps) {
    return QObject::connect(&dialog, &TOrvaneOrdnerDialog::waitingForUser,
                            [steps](QDialog* window) {
                                if (steps->empty()) {
                                    ADD_FAILURE() << "a window waits, but no step is left";
                                    window->reject();
                                    return;
                                }
                                Step step = std::move(steps->front());
                                steps->pop_front();
                                step(*window);
                            });
}

// Runs the dialog through `steps`. A window still open after 10 s is closed and the run
// fails.
inline bool runDialog(TOrvaneOrdnerDialog& dialog, std::deque<Step> steps) {
    const auto pending = std::make_shared<std::deque<Step>>(std::move(steps));
    const auto connection = serveSteps(dialog, pending);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the dialog was still open after 10 s";
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    watchdog.start(10000);
    const bool confirmed = dialog.execute();
    QObject::disconnect(connection);
    EXPECT_TRUE(pending->empty()) << pending->size() << " step(s) were not used";
    return confirmed;
}

template <typename T> T& child(QDialog& window, const char* name) {
    T* found = window.findChild<T*>(name);
    if (found == nullptr)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

inline void press(QDialog& window, const char* button) {
    QTest::mouseClick(&child<QAbstractButton>(window, button), Qt::LeftButton);
}

inline void openInList(QDialog& window, const QString& path) {
    auto& list = child<TDirectoryListBox>(window, "directoryBox");
    QTreeWidgetItem* item = list.itemFor(path);
    ASSERT_NE(item, nullptr) << path.toStdString();
    // A real double-click: press, release, then the double-click and its release.
    const QPoint at = list.visualItemRect(item).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
}

inline QString labText(QDialog& window) {
    return child<QLabel>(window, "Lab").toolTip();
}

} // namespace orvane::test
