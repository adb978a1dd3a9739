// TOrvaneOrdnerDialog: the engine's folder chooser, a component that shows a modal window.
//
// Between runs the component holds only its four properties. `execute` builds the window
// anew in code (rotated caption panel on the left, drive selector, folder list, the line
// showing the current folder, "Okay" and "Abbruch", and optionally the new-folder button),
// waits until the user closes it, and frees it again. Only a confirmed run changes
// `Directory`; the folder list changes the process's current folder while the user browses,
// so a later run without `InitialDir` starts where the previous one was left.
//
// The windows (f, f2) and controls carry object names (OKButton, CANCELButton, driveBox, speed,
// directoryBox, Lab, lab90, bev; edit1, okbutton2, cancelbutton2 in the new-folder window), so
// tools that drive the window for the user can find them.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace orvane {

class MessageDialog;
class TBevelLine;
class TDirectoryListBox;
class TDriveComboBox;
class TLabel90;

class TOrvaneOrdnerDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString InitialDir READ initialDir WRITE setInitialDir)
    Q_PROPERTY(QString Directory READ directory WRITE setDirectory)
    Q_PROPERTY(QString Title READ title WRITE setTitle)
    Q_PROPERTY(bool AllowNewDir READ allowNewDir WRITE setAllowNewDir)

  public:
    explicit TOrvaneOrdnerDialog(QObject* parent = nullptr);
    ~TOrvaneOrdnerDialog() override;

    // The folder the list opens at the start of each run; empty: the current folder.
    QString initialDir() const { return m_initialDir; }
    void setInitialDir(const QString& folder) { m_initialDir = folder; }
    // The folder chosen in the last confirmed run, ending with "/".
    QString directory() const { return m_directory; }
    void setDirectory(const QString& folder) { m_directory = folder; }
    // The window's caption; the caption panel shows it after one blank.
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    bool allowNewDir() const { return m_allowNewDir; }
    void setAllowNewDir(bool allow) { m_allowNewDir = allow; }

    // Where "Ordner konnte nicht angelegt werden!" is shown; by default a Qt message box.
    // The dialog does not take ownership.
    void setMessageDialog(MessageDialog* dialog) { m_messages = dialog; }

    // Shows the window and returns true when the user confirmed with "Okay"; `Directory`
    // then holds the chosen folder.
    bool execute();

  signals:
    // One of the dialog's windows (the main one "f" or the new-folder one "f2") waits for
    // the user; emitted from inside its loop, and again each time the listeners returned
    // while it stays open. Headless runs act for the user from here.
    void waitingForUser(QDialog* window);
    // The window closed: with "Okay" (`confirmed`; `Directory` holds the folder) or not.
    void closed(bool confirmed);

  private:
    std::unique_ptr<QDialog> buildWindow();
    void buildButtons(QDialog& window, int panelWidth);
    void buildFolderControls(QDialog& window, int panelWidth);
    void buildNewFolderButton(QDialog& window);
    void scheduleWait(QDialog* window);
    void openInitialDir();
    void showCurrentFolder();
    void forgetControls();

    void newFolder();
    std::unique_ptr<QDialog> buildNewFolderWindow();
    void createFolder(const QString& name);
    MessageDialog& messages();

    QString m_initialDir;
    QString m_directory;
    QString m_title;
    bool m_allowNewDir = true;
    MessageDialog* m_messages = nullptr;
    std::unique_ptr<MessageDialog> m_ownMessages;

    // Alive only during a run; the window owns them.
    QDialog* m_window = nullptr;
    TLabel90* m_lab90 = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    TBevelLine* m_bev = nullptr;
    TDriveComboBox* m_driveBox = nullptr;
    QToolButton* m_speed = nullptr;
    TDirectoryListBox* m_directoryBox = nullptr;
    QLabel* m_lab = nullptr;
    QString m_labText; // the current folder with its final "/", as the label shows it
    bool m_okay = false;
};

} // namespace orvane
