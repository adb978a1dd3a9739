// Recording a user's answers as scenario lines.
#include "answer_recorder.h"

#include "orvaneOrdnerDialog.h"
#include "script_windows.h"
#include "tlistbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace orvane {

namespace {

bool isSecret(const std::string& name, const QLineEdit& field) {
    return QString::fromStdString(name).contains("pass", Qt::CaseInsensitive) ||
           field.echoMode() != QLineEdit::Normal;
}

// The key that presses a focused button, check box or radio button.
bool activates(const QKeyEvent& key) {
    return key.key() == Qt::Key_Space && !key.isAutoRepeat();
}

// Whether a click on an object of `kind` changes anything: buttons, check boxes, radio buttons
// and hyperlinks act by themselves, other controls only through a click handler.
bool clickMatters(GuiKind kind, const std::string& handler) {
    switch (kind) {
    case GuiKind::button:
    case GuiKind::checkBox:
    case GuiKind::radioButton:
    case GuiKind::hyperlink:
        return true;
    case GuiKind::form:
    case GuiKind::textEdit:
        return false;
    default:
        return !handler.empty();
    }
}

} // namespace

AnswerRecorder::AnswerRecorder(MessageDialog& dialog) : m_dialog(dialog) {}

AnswerRecorder::~AnswerRecorder() {
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

void AnswerRecorder::attach(ScriptWindows& windows, TOrvaneOrdnerDialog& folderDialog) {
    m_windows = &windows;
    qApp->installEventFilter(this);
    connect(&folderDialog, &TOrvaneOrdnerDialog::closed, this, [this, &folderDialog](bool ok) {
        add(ok ? "folder " + folderDialog.directory().toStdString() : "cancel");
    });
}

MessageAnswer AnswerRecorder::show(const std::string& text, const std::string& caption, int flags) {
    flushTyping();
    const MessageAnswer answer = m_dialog.show(text, caption, flags);
    if (flags == mbYesNoQuestion)
        add(answer == idYes ? "yes" : "no");
    return answer;
}

std::string AnswerRecorder::text() {
    flushTyping();
    std::string all;
    for (const std::string& line : m_lines)
        all += line + '\n';
    return all;
}

void AnswerRecorder::add(std::string line) {
    flushTyping();
    m_lines.push_back(std::move(line));
}

// Writes down what was typed into each field since it was last written down.
void AnswerRecorder::flushTyping() {
    auto typing = std::exchange(m_typing, {});
    for (auto& [name, state] : typing) {
        if (!state.field || state.field->text() == state.before)
            continue;
        const QString now = state.field->text();
        if (isSecret(name, *state.field)) {
            m_lines.push_back("secret " + name);
            continue;
        }
        QString typed = now;
        if (now.startsWith(state.before)) {
            typed = now.mid(state.before.size());
        } else {
            m_lines.push_back("clear " + name);
        }
        if (!typed.isEmpty())
            m_lines.push_back("type " + name + " " + typed.toStdString());
    }
}

bool AnswerRecorder::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !event->spontaneous() || m_windows == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            std::string name;
            if (objectOf(field, name) != nullptr)
                noteKey(*field, name);
        } else if (qobject_cast<QAbstractButton*>(widget) != nullptr &&
                   activates(*static_cast<QKeyEvent*>(event))) {
            noteClick(*widget, *event);
        }
        break;
    case QEvent::MouseButtonPress:
        m_skipRelease = false;
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        noteClick(*widget, *event);
        break;
    case QEvent::Close: {
        std::string name;
        const ScriptObject* object = objectOf(widget, name);
        if (object != nullptr && object->kind() == GuiKind::form && object->widget() == widget)
            add("close " + name);
        break;
    }
    default:
        break;
    }
    return false;
}

// The first key since the field was last written down remembers the text before it.
void AnswerRecorder::noteKey(QLineEdit& field, const std::string& name) {
    if (m_typing.count(name) == 0)
        m_typing[name] = Typing{&field, field.text()};
}

void AnswerRecorder::noteClick(QWidget& widget, QEvent& event) {
    std::string name;
    std::string handler;
    const ScriptObject* object = objectOf(&widget, name, &handler);
    if (object == nullptr || !object->widget()->isEnabled())
        return;
    const GuiKind kind = object->kind();
    if (kind != GuiKind::listBox && !clickMatters(kind, handler))
        return;
    if (event.type() == QEvent::KeyPress) {
        add("click " + name);
        return;
    }
    auto& mouse = static_cast<QMouseEvent&>(event);
    if (mouse.button() != Qt::LeftButton)
        return;
    if (std::exchange(m_skipRelease, false) && event.type() == QEvent::MouseButtonRelease)
        return;
    if (kind == GuiKind::listBox) {
        auto* list = object->as<TListBox>();
        const QPoint at = list->viewport()->mapFrom(&widget, mouse.position().toPoint());
        if (event.type() == QEvent::MouseButtonDblClick) {
            m_skipRelease = true;
            add("dblclick " + name);
        } else if (const QListWidgetItem* item = list->itemAt(at)) {
            add("select " + name + " " + std::to_string(list->row(item)));
        }
        return;
    }
    if (event.type() == QEvent::MouseButtonRelease &&
        widget.rect().contains(mouse.position().toPoint()))
        add("click " + name);
}

const ScriptObject* AnswerRecorder::objectOf(QWidget* widget, std::string& name,
                                             std::string* handler) const {
    const GuiRegistry& registry = m_windows->registry();
    for (QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
        for (std::int32_t ix = 1; ix <= registry.guiObjectCount(); ++ix) {
            if (m_windows->widgetAt(ix) == at) {
                name = registry.entry(ix).name;
                if (handler != nullptr)
                    *handler = registry.entry(ix).handler;
                return m_windows->objectAt(ix);
            }
        }
        if (at->isWindow())
            break;
    }
    return nullptr;
}

} // namespace orvane
