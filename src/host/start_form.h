// TForm1: the engine's start window and the run driver behind its one-shot timer.
//
// The window is small and border-less ("Installation wird vorbereitet..." with a
// running marquee). 600 ms after it was created, its timer drives one run: find the
// package named after the executable, load it on the loader thread while the window
// keeps painting, take the script from "programfile", run it through a ScriptSession
// and end the application with the run's exit status.
#pragma once

#include "engine_automation.h"
#include "package_document.h"
#include "package_lookup.h"
#include "script_session.h"
#include "script_windows.h"

#include <QWidget>

#include <memory>
#include <string>

class QEventLoop;
class QFrame;
class QLabel;
class QProgressBar;
class QTimer;

namespace orvane {

class TOrvaneOrdnerDialog;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // `automation` (what the engine's options add to the run) must outlive the window.
    TForm1(std::string executablePath, EngineAutomation& automation, QWidget* parent = nullptr);
    ~TForm1() override;

  private slots:
    void Timer1Timer();
    void JsonThreadTerminated();

  private:
    void FormCreate();
    void buildComponents();
    bool loadPackage(const std::string& packagePath);
    void finish(int exitCode);

    std::string m_executablePath;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    TOrvaneOrdnerDialog* OrvaneOrdnerDialog1 = nullptr; // run by showFolderDialog

    EngineAutomation& m_automation;
    class TJsonParseThread* JsonThread = nullptr;
    PackageDocument JSonValue;
    std::string m_loadError;
    bool threadFertig = false;
    QEventLoop* m_waitLoop = nullptr;
    std::unique_ptr<PackageLookup> m_lookup;
    std::unique_ptr<ScriptSession> m_session;
    std::unique_ptr<ScriptWindows> m_windows; // the script's own windows
};

} // namespace orvane
