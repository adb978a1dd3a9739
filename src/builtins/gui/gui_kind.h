// The twelve kinds of script objects, told apart by the object's own class.
#pragma once

class QWidget;

namespace orvane {

enum class GuiKind {
    none, // not a script object (or already destroyed)
    form,
    progressBar,
    listBox,
    label,
    hyperlink,
    image,
    panel,
    button,
    checkBox,
    radioButton,
    textField, // multi-line
    textEdit,  // single-line
};

// The kind of `widget`, from its class; a hyperlink is its own kind here, and
// isStaticText() counts it as static text as well.
GuiKind kindOf(const QWidget* widget);

// The kind's name in transcripts: form, progressbar, listbox, label, hyperlink, image,
// panel, button, checkbox, radiobutton, textfield, textedit.
const char* kindName(GuiKind kind);

inline bool isStaticText(GuiKind kind) {
    return kind == GuiKind::label || kind == GuiKind::hyperlink;
}

// Static texts and picture boxes draw themselves but hold no controls.
inline bool canContainControls(GuiKind kind) {
    return kind != GuiKind::none && !isStaticText(kind) && kind != GuiKind::image;
}

} // namespace orvane
