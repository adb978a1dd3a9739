// Window actions of headless runs.
#include "window_actions.h"

#include "object_snapshot.h"
#include "tedit.h"
#include "tform.h"
#include "tlistbox.h"
#include "transcript.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <charconv>

namespace orvane {

namespace {

ScenarioStop stop(const ScenarioAction& action, const std::string& problem) {
    return ScenarioStop{"scenario line " + std::to_string(action.line) + ": " + action.verb + ": " +
                        problem};
}

// "NAME REST": the first word and the rest after the blanks that follow it.
std::pair<std::string, std::string> splitFirstWord(const std::string& arguments) {
    const auto blank = arguments.find_first_of(" \t");
    if (blank == std::string::npos)
        return {arguments, {}};
    const auto rest = arguments.find_first_not_of(" \t", blank);
    return {arguments.substr(0, blank), rest == std::string::npos ? "" : arguments.substr(rest)};
}

bool reachable(const QWidget* widget) {
    const QWidget* modal = QApplication::activeModalWidget();
    return widget->isVisible() && (modal == nullptr || modal == widget->window());
}

// Where a user clicks: on the box of a check box or radio button (only the box and its
// text react), in the middle of anything else.
std::pair<QWidget*, QPoint> clickSpot(QWidget* widget) {
    QStyleOptionButton option;
    option.initFrom(widget);
    if (qobject_cast<QCheckBox*>(widget) != nullptr)
        return {widget, widget->style()
                            ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, widget)
                            .center()};
    if (qobject_cast<QRadioButton*>(widget) != nullptr)
        return {widget, widget->style()
                            ->subElementRect(QStyle::SE_RadioButtonIndicator, &option, widget)
                            .center()};
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        return {area->viewport(), area->viewport()->rect().center()};
    return {widget, widget->rect().center()};
}

// The window a user looks at: the modal one, else the active one, else the newest
// shown form.
QWidget* activeWindow(const ScriptWindows& windows) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active->isVisible())
        return active;
    for (std::int32_t ix = windows.registry().guiObjectCount(); ix >= 1; --ix) {
        QWidget* widget = windows.widgetAt(ix);
        if (qobject_cast<TForm*>(widget) != nullptr && widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace

WindowActions::WindowActions(ScriptWindows& windows,
                             std::function<void(const std::string&)> printLine)
    : m_windows(windows), m_printLine(std::move(printLine)), m_startFolder(QDir::currentPath()) {}

bool WindowActions::isWindowAction(const std::string& verb) {
    for (const char* known :
         {"click", "dblclick", "select", "type", "clear", "close", "dump", "shot"}) {
        if (verb == known)
            return true;
    }
    return false;
}

bool WindowActions::onlyLooks(const std::string& verb) {
    return verb == "dump" || verb == "shot";
}

void WindowActions::perform(const ScenarioAction& action) {
    if (action.verb == "click")
        click(action);
    else if (action.verb == "dblclick")
        doubleClick(action);
    else if (action.verb == "select")
        select(action);
    else if (action.verb == "type")
        type(action);
    else if (action.verb == "clear")
        clear(action);
    else if (action.verb == "close")
        close(action);
    else if (action.verb == "dump")
        dump();
    else if (action.verb == "shot")
        shot(action);
    else if (action.verb == "secret")
        throw stop(action, "the recording left out what was typed into '" + action.arguments +
                               "': replace this line with 'type " + action.arguments + " TEXT'");
    else
        throw stop(action, "unknown action");
}

ScriptObject& WindowActions::target(const ScenarioAction& action, const std::string& name,
                                    std::initializer_list<GuiKind> kinds) {
    ScriptObject* object = m_windows.find(name);
    if (object == nullptr || object->widget() == nullptr)
        throw stop(action, "no object is registered as '" + name + "'");
    if (std::find(kinds.begin(), kinds.end(), object->kind()) == kinds.end())
        throw stop(action, "'" + name + "' is a " + kindName(object->kind()));
    if (!reachable(object->widget()))
        throw stop(action, "'" + name + "' is not shown or its window is blocked");
    return *object;
}

void WindowActions::click(const ScenarioAction& action) {
    ScriptObject& object =
        target(action, action.arguments,
               {GuiKind::progressBar, GuiKind::listBox, GuiKind::label, GuiKind::hyperlink,
                GuiKind::image, GuiKind::panel, GuiKind::button, GuiKind::checkBox,
                GuiKind::radioButton, GuiKind::textField, GuiKind::textEdit});
    const auto [widget, spot] = clickSpot(object.widget());
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, spot);
}

void WindowActions::doubleClick(const ScenarioAction& action) {
    auto* list = target(action, action.arguments, {GuiKind::listBox}).as<TListBox>();
    const int row = list->selectedRow();
    if (row < 0)
        throw stop(action, "'" + action.arguments + "' has no current item");
    list->scrollToItem(list->item(row));
    const QPoint spot = list->visualItemRect(list->item(row)).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, spot);
}

void WindowActions::select(const ScenarioAction& action) {
    const auto blank = action.arguments.find_last_of(" \t");
    const std::string name = action.arguments.substr(0, blank == std::string::npos ? 0 : blank);
    const std::string rowText = action.arguments.substr(blank == std::string::npos ? 0 : blank + 1);
    auto* list =
        target(action, name.substr(0, name.find_last_not_of(" \t") + 1), {GuiKind::listBox})
            .as<TListBox>();
    int row = -1;
    const auto [end, error] = std::from_chars(rowText.data(), rowText.data() + rowText.size(), row);
    if (error != std::errc() || end != rowText.data() + rowText.size() || row < 0 ||
        row >= list->count())
        throw stop(action,
                   "no row '" + rowText + "' in a list of " + std::to_string(list->count()));
    list->scrollToItem(list->item(row));
    const QPoint spot = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, spot);
}

// One key event carries the whole text: the field inserts it as one change (its handler runs
// once), and a long text takes no longer than a short one.
void WindowActions::type(const ScenarioAction& action) {
    const auto [name, text] = splitFirstWord(action.arguments);
    auto* edit = target(action, name, {GuiKind::textEdit}).as<TEdit>();
    QTest::keyClick(edit, Qt::Key_End);
    if (!text.empty())
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromStdString(text),
                            Qt::NoModifier);
}

void WindowActions::clear(const ScenarioAction& action) {
    auto* edit = target(action, action.arguments, {GuiKind::textEdit}).as<TEdit>();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
}

void WindowActions::close(const ScenarioAction& action) {
    QWidget* form = target(action, action.arguments, {GuiKind::form}).widget();
    // The close button asks the window system to close the window, which asks the form.
    if (QWindow* window = form->windowHandle())
        window->close();
    else
        form->close();
}

void WindowActions::dump() {
    m_printLine(transcript::dumpEvent(snapshotObjects(m_windows)));
}

void WindowActions::shot(const ScenarioAction& action) {
    QWidget* window = activeWindow(m_windows);
    if (window == nullptr)
        throw stop(action, "no window is shown");
    if (action.arguments.empty() ||
        !window->grab().save(
            m_startFolder.absoluteFilePath(QString::fromStdString(action.arguments)), "PNG"))
        throw stop(action, "cannot save '" + action.arguments + "'");
}

} // namespace orvane
