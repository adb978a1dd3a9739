// Kinds of script objects.
#include "gui_kind.h"

#include "Hyperlink33.h"
#include "tbutton.h"
#include "tcheckbox.h"
#include "tedit.h"
#include "tform.h"
#include "timage.h"
#include "tlabel.h"
#include "tlistbox.h"
#include "tmemo.h"
#include "tpanel.h"
#include "tprogressbar.h"
#include "tradiobutton.h"

namespace orvane {

namespace {

template <class Widget> bool is(const QWidget* widget) {
    return qobject_cast<const Widget*>(widget) != nullptr;
}

} // namespace

GuiKind kindOf(const QWidget* widget) {
    // THyperLink derives from TLabel, so it is asked about first.
    if (widget == nullptr)
        return GuiKind::none;
    if (is<THyperLink>(widget))
        return GuiKind::hyperlink;
    if (is<TLabel>(widget))
        return GuiKind::label;
    if (is<TForm>(widget))
        return GuiKind::form;
    if (is<TProgressBar>(widget))
        return GuiKind::progressBar;
    if (is<TListBox>(widget))
        return GuiKind::listBox;
    if (is<TImage>(widget))
        return GuiKind::image;
    if (is<TPanel>(widget))
        return GuiKind::panel;
    if (is<TButton>(widget))
        return GuiKind::button;
    if (is<TCheckBox>(widget))
        return GuiKind::checkBox;
    if (is<TRadioButton>(widget))
        return GuiKind::radioButton;
    if (is<TMemo>(widget))
        return GuiKind::textField;
    if (is<TEdit>(widget))
        return GuiKind::textEdit;
    return GuiKind::none;
}

const char* kindName(GuiKind kind) {
    switch (kind) {
    case GuiKind::form:
        return "form";
    case GuiKind::progressBar:
        return "progressbar";
    case GuiKind::listBox:
        return "listbox";
    case GuiKind::label:
        return "label";
    case GuiKind::hyperlink:
        return "hyperlink";
    case GuiKind::image:
        return "image";
    case GuiKind::panel:
        return "panel";
    case GuiKind::button:
        return "button";
    case GuiKind::checkBox:
        return "checkbox";
    case GuiKind::radioButton:
        return "radiobutton";
    case GuiKind::textField:
        return "textfield";
    case GuiKind::textEdit:
        return "textedit";
    case GuiKind::none:
        break;
    }
    return "none";
}

} // namespace orvane
