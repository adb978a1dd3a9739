// The start window and the run driver.
#include "start_form.h"

#include "folder_dialog_builtin.h"
#include "json_parse_thread.h"
#include "orvaneOrdnerDialog.h"
#include "package_location.h"
#include "script_error.h"
#include "script_windows.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace orvane {

namespace {

// The start window's design, in pixels.
constexpr int kClientWidth = 314;
constexpr int kClientHeight = 113;
constexpr int kStartDelayMs = 600;

QFont designFont(int pixelSize, bool bold) {
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

TForm1::TForm1(std::string executablePath, EngineAutomation& automation, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_executablePath(std::move(executablePath)),
      m_automation(automation) {
    buildComponents();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildComponents() {
    setWindowTitle("Form1");
    setFixedSize(kClientWidth, kClientHeight);
    setFont(designFont(11, false));
    setAutoFillBackground(true);

    // Raised outer and inner bevel, the caption centred on the panel.
    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    auto* caption = new QLabel("Installation wird vorbereitet...", Panel1);
    caption->setGeometry(0, 0, kClientWidth, kClientHeight);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFont(designFont(16, true));

    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setGeometry(82, 65, 150, 17);
    ProgressBar1->setRange(0, 0); // marquee: a continuously running indicator
    ProgressBar1->setTextVisible(false);

    // The label sizes itself to its text like an auto-sized label, around the
    // design's centre (105 + 103 / 2), so no font cuts the version number off.
    Label1 = new QLabel("Orvane-Installer 3.7", Panel1);
    Label1->setFont(designFont(11, true));
    const int labelWidth = std::max(103, Label1->sizeHint().width());
    Label1->setGeometry(105 + 103 / 2 - labelWidth / 2, 88, labelWidth, 13);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(kStartDelayMs);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    OrvaneOrdnerDialog1 = new TOrvaneOrdnerDialog(this);
    configureTargetFolderDialog(*OrvaneOrdnerDialog1);

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm1::FormCreate() {
    Timer1->start();
}

void TForm1::finish(int exitCode) {
    QCoreApplication::exit(m_automation.finish(exitCode));
}

void TForm1::Timer1Timer() {
    Timer1->stop();
    const std::string packagePath = packagePathForExecutable(m_executablePath);
    if (!packageFileExists(packagePath)) {
        m_automation.dialog().show("Install Script " + packagePath + " nicht gefunden.",
                                   "Kritischer Fehler", mbIconError);
        finish(1);
        return;
    }
    m_lookup = std::make_unique<PackageLookup>(JSonValue);
    m_session = std::make_unique<ScriptSession>(m_automation.dialog(), m_lookup.get(),
                                                m_automation.observer());
    m_windows =
        std::make_unique<ScriptWindows>(m_session->interpreter(), [this](const std::string& text) {
            m_session->showErrorReport(text);
        });
    m_windows->install(m_session->builtins());
    m_session->setAfterMain([this] { m_windows->modalLoops().rethrowPending(); });
    m_automation.attach(*m_windows, m_session->builtins(), *OrvaneOrdnerDialog1);
    if (!loadPackage(packagePath)) {
        finish(1);
        return;
    }
    std::string scriptText;
    try {
        scriptText = std::string(JSonValue.packageString("programfile"));
    } catch (const ScriptError& e) {
        m_session->showErrorReport(
            m_loadError.empty() ? e.what() : std::string(e.what()) + "\r" + m_loadError);
        finish(1);
        return;
    }
    // The start window shrinks to nothing before main: a window of no size cannot be
    // shown on X11 or Wayland, so it is hidden as well.
    m_session->setBeforeMain([this] {
        setFixedSize(0, 0);
        hide();
    });
    const int code = m_automation.run(
        [this, &scriptText] { return m_session->exitStatus(m_session->run(scriptText)); });
    // Answers left over after running out of memory are no fault of the answer file.
    finish(m_session->ranOutOfMemory() ? static_cast<int>(RunOutcome::failed) : code);
}

// Starts the loader thread and keeps the window painted (marquee running) until the
// thread has handed its document over.
bool TForm1::loadPackage(const std::string& packagePath) {
    JsonThread = new TJsonParseThread(this);
    JsonThread->dateiname = packagePath;
    connect(JsonThread, &QThread::finished, this, &TForm1::JsonThreadTerminated);
    threadFertig = false;
    JsonThread->start();
    QEventLoop waitLoop;
    m_waitLoop = &waitLoop;
    while (!threadFertig)
        waitLoop.exec();
    m_waitLoop = nullptr;
    return true;
}

void TForm1::JsonThreadTerminated() {
    m_loadError = JsonThread->JSonValue.error;
    JSonValue = PackageDocument(std::move(JsonThread->JSonValue.document));
    JsonThread->deleteLater();
    JsonThread = nullptr;
    threadFertig = true;
    if (m_waitLoop != nullptr)
        m_waitLoop->quit();
}

} // namespace orvane
