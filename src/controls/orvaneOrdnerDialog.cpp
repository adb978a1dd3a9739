// The folder chooser's run: the window built in code, the current-folder line and the
// new-folder window.
#include "orvaneOrdnerDialog.h"

#include "bevel_line.h"
#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "label90.h"
#include "qt_message_dialog.h"

#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace orvane {

namespace {

// The window's client size in pixels, not scaled with the screen's text size.
constexpr int kWindowWidth = 400;
constexpr int kWindowHeight = 300;
// A push button's default size.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// Gap between the buttons and the window's bottom edge, and between neighbouring controls.
constexpr int kGap = 5;
constexpr int kCaptionFontSize = 24;
constexpr int kDriveHeight = 25;
constexpr int kListHeight = 180;
// Room the new-folder button takes to the right of the drive selector.
constexpr int kNewFolderRoom = 50;
// The new-folder window: a new window's default width, and its design height.
constexpr int kNewFolderWidth = 640;
constexpr int kNewFolderHeight = 110;
constexpr int kNameWidth = 200;
// The folder picture: 32 x 16 pixels.
constexpr QSize kFolderPictureSize(32, 16);

// A thin caption bar with no system-menu buttons, fixed size.
constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

std::unique_ptr<QDialog> newToolWindow(QWidget* parent, const QString& caption, int width,
                                       int height) {
    auto window = std::make_unique<QDialog>(parent, kToolWindow);
    window->setWindowTitle(caption);
    window->setFixedSize(width, height);
    centreOnScreen(*window);
    return window;
}

QPushButton* newButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TOrvaneOrdnerDialog::TOrvaneOrdnerDialog(QObject* parent) : QObject(parent) {}

TOrvaneOrdnerDialog::~TOrvaneOrdnerDialog() = default;

MessageDialog& TOrvaneOrdnerDialog::messages() {
    if (m_messages != nullptr)
        return *m_messages;
    if (!m_ownMessages)
        m_ownMessages = std::make_unique<QtMessageDialog>();
    return *m_ownMessages;
}

bool TOrvaneOrdnerDialog::execute() {
    m_okay = false;
    std::unique_ptr<QDialog> window = buildWindow();
    m_window = window.get();
    m_driveBox->setDirList(m_directoryBox);
    openInitialDir();
    showCurrentFolder();
    scheduleWait(m_window);
    window->exec();
    if (m_okay)
        m_directory = m_labText;
    forgetControls();
    emit closed(m_okay);
    return m_okay;
}

// Tells the listeners, from inside the window's loop, that the window waits; again after
// each time while it stays open. Without listeners nothing is scheduled.
void TOrvaneOrdnerDialog::scheduleWait(QDialog* window) {
    if (!isSignalConnected(QMetaMethod::fromSignal(&TOrvaneOrdnerDialog::waitingForUser)))
        return;
    QTimer::singleShot(0, window, [this, window] {
        if (!window->isVisible())
            return;
        emit waitingForUser(window);
        scheduleWait(window);
    });
}

std::unique_ptr<QDialog> TOrvaneOrdnerDialog::buildWindow() {
    auto window = newToolWindow(nullptr, m_title, kWindowWidth, kWindowHeight);
    window->setObjectName("f");
    m_lab90 = new TLabel90(window.get());
    m_lab90->setObjectName("lab90");
    m_lab90->setAlign(TLabel90::alLeft);
    QFont captionFont = m_lab90->font();
    captionFont.setPointSize(kCaptionFontSize);
    m_lab90->setFont(captionFont);
    m_lab90->setCaption(" " + m_title);
    // The panel has not painted yet: every position below uses its initial width, although
    // it becomes as wide as its text is high when it paints.
    const int panelWidth = m_lab90->width();
    buildButtons(*window, panelWidth);
    buildFolderControls(*window, panelWidth);
    return window;
}

void TOrvaneOrdnerDialog::buildButtons(QDialog& window, int panelWidth) {
    m_okButton = newButton("Okay", "OKButton", &window);
    m_okButton->setGeometry(panelWidth + 15, window.height() - kButtonHeight - kGap, kButtonWidth,
                            kButtonHeight);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, &window, [this, &window] {
        m_okay = true;
        window.accept();
    });
    m_cancelButton = newButton("Abbruch", "CANCELButton", &window);
    m_cancelButton->setGeometry(m_okButton->x() + m_okButton->width() + kGap, m_okButton->y(),
                                kButtonWidth, kButtonHeight);
    connect(m_cancelButton, &QPushButton::clicked, &window, &QDialog::reject);
    m_bev = new TBevelLine(&window);
    m_bev->setObjectName("bev");
    m_bev->setGeometry(m_okButton->x(), m_okButton->y() - 10, window.width() - panelWidth - 30, 5);
}

void TOrvaneOrdnerDialog::buildFolderControls(QDialog& window, int panelWidth) {
    m_driveBox = new TDriveComboBox(&window);
    m_driveBox->setObjectName("driveBox");
    const int driveRoom = m_allowNewDir ? 30 + kNewFolderRoom : 30;
    m_driveBox->setGeometry(m_okButton->x(), kGap, window.width() - panelWidth - driveRoom,
                            kDriveHeight);
    if (m_allowNewDir)
        buildNewFolderButton(window);
    m_directoryBox = new TDirectoryListBox(&window);
    m_directoryBox->setObjectName("directoryBox");
    m_directoryBox->setGeometry(m_driveBox->x(), m_driveBox->y() + m_driveBox->height() + kGap,
                                window.width() - panelWidth - 30, kListHeight);
    connect(m_directoryBox, &TDirectoryListBox::directoryChanged, this,
            &TOrvaneOrdnerDialog::showCurrentFolder);
    m_labText = "Aktueller Ordner";
    m_lab = new QLabel(m_labText, &window);
    m_lab->setObjectName("Lab");
    // As wide as the folder list: a longer path is shortened in the middle on screen.
    m_lab->setGeometry(m_okButton->x(), m_directoryBox->y() + m_directoryBox->height() + kGap,
                       m_directoryBox->width(), m_lab->sizeHint().height());
}

void TOrvaneOrdnerDialog::buildNewFolderButton(QDialog& window) {
    m_speed = new QToolButton(&window);
    m_speed->setObjectName("speed");
    const int left = m_driveBox->x() + m_driveBox->width() + kGap;
    m_speed->setGeometry(left, m_driveBox->y(), window.width() - left - 15,
                         m_driveBox->contentsRect().height());
    m_speed->setAutoRaise(true);
    m_speed->setFocusPolicy(Qt::NoFocus);
    m_speed->setIcon(QIcon(QPixmap(":/ORDNERBILD")));
    m_speed->setIconSize(kFolderPictureSize);
    m_speed->setToolTip("Neuen Ordner erstellen");
    connect(m_speed, &QToolButton::clicked, this, &TOrvaneOrdnerDialog::newFolder);
}

// A folder that does not exist leaves the list at the process's current folder.
void TOrvaneOrdnerDialog::openInitialDir() {
    if (!m_initialDir.isEmpty())
        m_directoryBox->setDirectory(m_initialDir);
}

void TOrvaneOrdnerDialog::showCurrentFolder() {
    QString folder = m_directoryBox->directory();
    if (folder.isEmpty())
        return;
    if (!folder.endsWith('/'))
        folder += '/';
    m_labText = folder;
    m_lab->setText(m_lab->fontMetrics().elidedText(folder, Qt::ElideMiddle, m_lab->width()));
    m_lab->setToolTip(folder);
}

void TOrvaneOrdnerDialog::forgetControls() {
    m_window = nullptr;
    m_lab90 = nullptr;
    m_okButton = nullptr;
    m_cancelButton = nullptr;
    m_bev = nullptr;
    m_driveBox = nullptr;
    m_speed = nullptr;
    m_directoryBox = nullptr;
    m_lab = nullptr;
}

void TOrvaneOrdnerDialog::newFolder() {
    std::unique_ptr<QDialog> window = buildNewFolderWindow();
    window->setObjectName("f2");
    scheduleWait(window.get());
    const bool confirmed = window->exec() == QDialog::Accepted;
    if (confirmed)
        createFolder(window->findChild<QLineEdit*>("edit1")->text());
}

std::unique_ptr<QDialog> TOrvaneOrdnerDialog::buildNewFolderWindow() {
    auto window = newToolWindow(m_window, "Einen neuen Ordner erstellen...", kNewFolderWidth,
                                kNewFolderHeight);
    auto* edit = new QLineEdit("Neuer Ordner", window.get());
    edit->setObjectName("edit1");
    edit->setGeometry(kGap, kGap, kNameWidth, edit->sizeHint().height());
    edit->selectAll();
    auto* label = new QLabel("Name des neuen Ordners", window.get());
    label->move(edit->x(), edit->y() + edit->height() + 2);
    label->adjustSize();
    auto* create = newButton("Ordner erstellen", "okbutton2", window.get());
    create->setGeometry(kGap, window->height() - kButtonHeight - kGap, kButtonWidth + 30,
                        kButtonHeight);
    create->setDefault(true);
    connect(create, &QPushButton::clicked, window.get(), &QDialog::accept);
    auto* cancel = newButton("Abbruch", "cancelbutton2", window.get());
    cancel->setGeometry(create->x() + create->width() + kGap, create->y(), kButtonWidth,
                        kButtonHeight);
    connect(cancel, &QPushButton::clicked, window.get(), &QDialog::reject);
    auto* bevel = new TBevelLine(window.get());
    bevel->setGeometry(create->x(), create->y() - 10, window->width() - 10, 5);
    return window;
}

// Only this one folder is made: its parent must exist. It stays whatever the user does
// with the main window afterwards.
void TOrvaneOrdnerDialog::createFolder(const QString& name) {
    const QString path = m_labText + name;
    if (!QDir().mkdir(path)) {
        messages().show("Ordner konnte nicht angelegt werden!", "Fehler", mbIconError);
        return;
    }
    m_directoryBox->setDirectory(path);
    showCurrentFolder();
}

} // namespace orvane
