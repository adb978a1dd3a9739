// The engine's uninstall window: a confirmation page naming the program folder, a progress page
// while the steps run, and a result page listing what was kept and why.
#pragma once

#include "uninstall_plan.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace orvane {

class UninstallWindow : public QDialog {
    Q_OBJECT
  public:
    // Starts on the confirmation page, or at once on the progress page when `confirmed`.
    UninstallWindow(UninstallPlan& plan, UninstallContext& context, bool confirmed,
                    QWidget* parent = nullptr);

    // 0 when everything recorded is gone or kept for a stated reason, 1 after an error,
    // kUninstallCancelled when the user declined; -1 while it runs.
    int exitStatus() const { return m_exitStatus; }

  private slots:
    void start();
    void cancel();

  private:
    QWidget* confirmationPage();
    QWidget* progressPage();
    QWidget* resultPage();
    void showResult();

    UninstallPlan& m_plan;
    UninstallContext& m_context;
    QStackedWidget* m_pages = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_step = nullptr;
    QLabel* m_resultTitle = nullptr;
    QPlainTextEdit* m_kept = nullptr;
    int m_exitStatus = -1;
};

// The program folder of an installation: the outermost folder it created that holds the
// uninstall data, else the folder of the uninstall data.
std::string programFolderOf(const UninstallPlan& plan);

} // namespace orvane
