// The uninstall window's three pages.
#include "uninstall_window.h"

#include "terminal_uninstall.h"
#include "uninstall_report.h"
#include "uninstall_run.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace orvane {

namespace {

QLabel* wrappedLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QPlainTextEdit* readOnlyList(const std::string& text) {
    auto* list = new QPlainTextEdit(QString::fromStdString(text));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    return list;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace

std::string programFolderOf(const UninstallPlan& plan) {
    std::string outermost;
    for (const std::string& folder : plan.installedFolders) {
        const bool holdsData = plan.uninstallData.starts_with(folder);
        if (holdsData && (outermost.empty() || folder.size() < outermost.size()))
            outermost = folder;
    }
    if (!outermost.empty())
        return outermost;
    return plan.uninstallData.substr(0, plan.uninstallData.find_last_of('/') + 1);
}

UninstallWindow::UninstallWindow(UninstallPlan& plan, UninstallContext& context, bool confirmed,
                                 QWidget* parent)
    : QDialog(parent), m_plan(plan), m_context(context) {
    setWindowTitle("Deinstallation");
    resize(560, 380);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(confirmationPage());
    m_pages->addWidget(progressPage());
    m_pages->addWidget(resultPage());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    if (confirmed)
        QTimer::singleShot(0, this, &UninstallWindow::start);
}

QWidget* UninstallWindow::confirmationPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wrappedLabel(
        "Das Programm im Ordner " + QString::fromStdString(programFolderOf(m_plan)) +
        " wird mit allen Dateien, Verknüpfungen und Registry-Einträgen entfernt, die bei der "
        "Installation angelegt wurden. Was Sie seither geändert haben, bleibt erhalten."));
    layout->addWidget(readOnlyList(uninstallText(m_plan, false)));
    auto* yes = new QPushButton("Deinstallieren");
    yes->setObjectName("uninstallConfirm");
    auto* no = new QPushButton("Abbrechen");
    no->setObjectName("uninstallCancel");
    connect(yes, &QPushButton::clicked, this, &UninstallWindow::start);
    connect(no, &QPushButton::clicked, this, &UninstallWindow::cancel);
    layout->addLayout(buttonRow({yes, no}));
    return page;
}

QWidget* UninstallWindow::progressPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wrappedLabel("Das Programm wird entfernt ..."));
    m_bar = new QProgressBar;
    m_bar->setRange(0, static_cast<int>(m_plan.steps.size()));
    layout->addWidget(m_bar);
    m_step = wrappedLabel("");
    layout->addWidget(m_step);
    layout->addStretch();
    return page;
}

QWidget* UninstallWindow::resultPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_resultTitle = wrappedLabel("");
    layout->addWidget(m_resultTitle);
    m_kept = readOnlyList("");
    m_kept->setObjectName("uninstallKept");
    layout->addWidget(m_kept);
    auto* done = new QPushButton("Fertig");
    done->setObjectName("uninstallDone");
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttonRow({done}));
    return page;
}

void UninstallWindow::start() {
    m_pages->setCurrentIndex(1);
    const auto progress = [this](std::size_t done, std::size_t, const UninstallStep& step) {
        m_bar->setValue(static_cast<int>(done));
        m_step->setText(QString::fromStdString(stepLine(step, true)));
        // Only paint events: the buttons of the finished page cannot be reached meanwhile.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    m_exitStatus = carryOutUninstall(m_plan, m_context, progress);
    showResult();
}

void UninstallWindow::cancel() {
    m_exitStatus = kUninstallCancelled;
    reject();
}

void UninstallWindow::showResult() {
    const std::string kept = keptText(m_plan);
    if (m_exitStatus != 0)
        m_resultTitle->setText("Die Deinstallation ist nicht vollständig gelungen. Folgendes "
                               "wurde behalten oder konnte nicht entfernt werden; ein erneuter "
                               "Aufruf setzt sie fort:");
    else if (kept.empty())
        m_resultTitle->setText("Das Programm wurde vollständig entfernt.");
    else
        m_resultTitle->setText("Das Programm wurde entfernt. Folgendes wurde behalten:");
    m_kept->setPlainText(QString::fromStdString(kept));
    m_kept->setVisible(!kept.empty());
    m_pages->setCurrentIndex(2);
}

} // namespace orvane
