// Texts such as a licence are longer than the 255 bytes a script value holds, so they go from
// the package straight into the control, never through a script variable.
#include "long_text_builtin.h"

#include "gui_errors.h"
#include "gui_text.h"
#include "tedit.h"
#include "tmemo.h"

#include <QLabel>

namespace orvane::long_text_builtin {

namespace {

std::string packageText(const BuiltinServices& services, const std::string& path) {
    if (services.package == nullptr)
        throw ScriptError("Wert '" + path + "' nicht gefunden");
    return services.package->text(path);
}

// A multi-line field shows the text from its first line, whatever was shown before.
void showInMemo(TMemo& memo, const std::string& text) {
    memo.setPlainText(displayText(text));
    memo.moveCursor(QTextCursor::Start);
    memo.ensureCursorVisible();
}

} // namespace

Value setTextFromXML(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args) {
    ScriptObject& object = windows.require(args.text("name"));
    const GuiKind kind = object.kind();
    if (!isStaticText(kind) && kind != GuiKind::textEdit && kind != GuiKind::textField)
        throw gui_errors::invalidCast();
    const std::string text = packageText(services, args.text("path"));
    if (kind == GuiKind::textField) {
        showInMemo(*object.as<TMemo>(), text);
    } else if (kind == GuiKind::textEdit) {
        // Like setCaption: a text the program sets is no change by the user.
        DetachedEvent quiet(object, ScriptEvent::click);
        object.as<TEdit>()->setText(plainText(text));
    } else {
        object.setCaption(text);
        object.as<QLabel>()->setText(displayText(text));
    }
    return Value{};
}

} // namespace orvane::long_text_builtin
