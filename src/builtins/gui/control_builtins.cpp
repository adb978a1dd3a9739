// Changing and reading controls.
//
// Most of these built-ins act only on the kinds they accept and leave any other object
// (or an unknown name) alone; setImage and a non-empty setListBoxArray need their kind
// and raise "Ungültige Typumwandlung" for another one. Where a program changes a state
// or caption, the object's event is detached meanwhile, so no handler sees the change.
#include "control_builtins.h"

#include "bitmap_loader.h"
#include "construction_builtins.h"
#include "dock_layout.h"
#include "gui_errors.h"
#include "gui_text.h"
#include "short_text.h"
#include "tbutton.h"
#include "tcheckbox.h"
#include "tedit.h"
#include "timage.h"
#include "tlistbox.h"
#include "tpanel.h"
#include "tprogressbar.h"
#include "tradiobutton.h"

namespace orvane::control_builtins {

namespace {

// The object named by argument "name", or null.
ScriptObject* named(ScriptWindows& windows, const BuiltinArgs& args) {
    return windows.find(args.text("name"));
}

// The object as a Widget, or null for another kind or an unknown name.
template <class Widget> Widget* namedAs(ScriptWindows& windows, const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    return object != nullptr ? object->as<Widget>() : nullptr;
}

// The registry entry named by argument "name"; raises for an unknown name.
tGUIObject& requireEntry(ScriptWindows& windows, const BuiltinArgs& args) {
    const std::string name = args.text("name");
    const std::int32_t ix = windows.registry().findObjectByName(name);
    if (ix == 0)
        throw gui_errors::notRegistered(name);
    return windows.registry().entry(ix);
}

DockEdge dockEdgeFor(std::int32_t align) {
    switch (align) {
    case 1:
        return DockEdge::top;
    case 2:
        return DockEdge::right;
    case 3:
        return DockEdge::left;
    case 4:
        return DockEdge::fill;
    case 5:
        return DockEdge::bottom;
    default:
        return DockEdge::none;
    }
}

void setStaticTextCaption(ScriptObject& object, const std::string& caption) {
    object.setCaption(caption);
    object.as<TLabel>()->setText(displayText(caption));
}

void showPicture(ScriptObject& object, const QImage& picture) {
    object.as<TImage>()->setPicture(picture);
}

} // namespace

Value setChecked(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    if (object == nullptr)
        return Value{};
    const bool checked = args.boolean("checked");
    if (auto* box = object->as<TCheckBox>()) {
        DetachedEvent quiet(*object, ScriptEvent::click);
        box->setChecked(checked);
    }
    if (auto* radio = object->as<TRadioButton>()) {
        DetachedEvent quiet(*object, ScriptEvent::click);
        radio->setState(checked);
    }
    return Value{};
}

Value isChecked(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    if (auto* box = namedAs<TCheckBox>(windows, args))
        return generateBoolData(box->isChecked());
    if (auto* radio = namedAs<TRadioButton>(windows, args))
        return generateBoolData(radio->isChecked());
    return generateBoolData(false);
}

Value setListBoxArray(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    const std::int32_t count = args.arraySize("array");
    if (count <= 0)
        return Value{};
    auto* list = windows.require(args.text("name")).as<TListBox>();
    if (list == nullptr)
        throw gui_errors::invalidCast();
    for (std::int32_t element = 1; element <= count; ++element) {
        const std::string text = args.textAt("array", element);
        auto* item = new QListWidgetItem(displayText(text));
        item->setData(Qt::UserRole, plainText(text));
        list->addItem(item);
    }
    return Value{};
}

Value getListBoxCurrentItem(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto* list = namedAs<TListBox>(windows, args);
    if (list == nullptr)
        return generateStringData("");
    const int row = list->selectedRow();
    if (row < 0)
        throw gui_errors::listIndex(row);
    return generateStringData(engineText(list->item(row)->data(Qt::UserRole).toString()));
}

Value setPanelBorders(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    // `pb` is not read: the bevels go whatever it holds.
    if (auto* panel = namedAs<TPanel>(windows, args))
        panel->removeBevels();
    return Value{};
}

Value setFontStyle(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto* label = namedAs<TLabel>(windows, args);
    const std::string style = args.text("style");
    if (label == nullptr || (style != "Bold" && style != "Normal"))
        return Value{};
    QFont font = label->font();
    font.setBold(style == "Bold");
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    label->setFont(font);
    return Value{};
}

Value setDoubleClickHandler(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    tGUIObject& entry = requireEntry(windows, args);
    entry.handler = cutText(args.text("dch"));
    auto* object = dynamic_cast<ScriptObject*>(entry.obj.get());
    if (auto* list = object != nullptr ? object->as<TListBox>() : nullptr)
        construction_builtins::wireEvent(windows, *object, ScriptEvent::doubleClick, list,
                                         &TListBox::dblClicked);
    return Value{};
}

Value setClickHandler(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    requireEntry(windows, args).handler = cutText(args.text("ch"));
    return Value{};
}

Value setProgress(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    if (auto* bar = namedAs<TProgressBar>(windows, args))
        bar->setPosition(args.integer("progress"));
    return Value{};
}

Value setEnabled(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    if (object == nullptr)
        return Value{};
    const GuiKind kind = object->kind();
    if (kind == GuiKind::checkBox || kind == GuiKind::radioButton || kind == GuiKind::button)
        object->widget()->setEnabled(args.boolean("enabled"));
    return Value{};
}

Value setCaption(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    if (object == nullptr)
        return Value{};
    const std::string caption = args.text("caption");
    switch (object->kind()) {
    case GuiKind::button:
    case GuiKind::checkBox: {
        DetachedEvent quiet(*object, ScriptEvent::click);
        object->setCaption(caption);
        object->as<QAbstractButton>()->setText(displayText(caption));
        break;
    }
    case GuiKind::textEdit: {
        DetachedEvent quiet(*object, ScriptEvent::click);
        object->as<TEdit>()->setText(plainText(caption));
        break;
    }
    case GuiKind::panel:
        object->setCaption(caption);
        object->as<TPanel>()->setCaption(displayText(caption));
        break;
    case GuiKind::radioButton:
        object->setCaption(caption);
        object->as<TRadioButton>()->setText(displayText(caption));
        break;
    case GuiKind::label:
    case GuiKind::hyperlink:
        setStaticTextCaption(*object, caption);
        break;
    default:
        break;
    }
    return Value{};
}

Value getCaption(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    if (auto* edit = namedAs<TEdit>(windows, args))
        return generateStringData(engineText(edit->text()));
    return generateStringData("");
}

Value setAlign(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    const DockEdge edge = dockEdgeFor(args.integer("align"));
    if (object == nullptr || edge == DockEdge::none)
        return Value{};
    if (object->kind() == GuiKind::image || object->kind() == GuiKind::panel)
        DockLayout::dock(object->widget(), edge);
    return Value{};
}

Value setWordWrap(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    if (auto* label = namedAs<TLabel>(windows, args))
        label->setWordWrap(args.boolean("ww"));
    return Value{};
}

Value setColor(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    if (object == nullptr || !(isStaticText(object->kind()) || object->kind() == GuiKind::panel))
        return Value{};
    QWidget* widget = object->widget();
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, windowsColour(args.integer("color")));
    widget->setPalette(colours);
    // A hyperlink keeps its transparent background, so its colour does not show.
    if (object->kind() != GuiKind::hyperlink)
        widget->setAutoFillBackground(true);
    return Value{};
}

Value setImage(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    ScriptObject& object = windows.require(args.text("name"));
    if (object.kind() != GuiKind::image)
        throw gui_errors::invalidCast();
    showPicture(object, loadWindowsBitmapFile(args.text("file")));
    return Value{};
}

Value setPictureFromXML(ScriptWindows& windows, BuiltinServices& services,
                        const BuiltinArgs& args) {
    ScriptObject* object = named(windows, args);
    if (object == nullptr || object->kind() != GuiKind::image)
        return Value{};
    if (services.package == nullptr)
        throw ScriptError("Wert 'binfiles' nicht gefunden");
    const std::optional<std::string> bytes =
        services.package->findEmbeddedFile(args.text("imagename"));
    if (bytes)
        showPicture(*object, decodeWindowsBitmap(*bytes));
    return Value{};
}

} // namespace orvane::control_builtins
