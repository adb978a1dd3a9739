// Creating windows and controls.
//
// Every creator follows the same steps: register the new object (name, and handler
// where the creator takes one), set its geometry, put it into its container (all but
// forms), apply the kind's own settings and wire its event. A failure after the
// registration leaves the object registered, as it is.
#include "construction_builtins.h"

#include "gui_errors.h"
#include "gui_text.h"
#include "tbutton.h"
#include "tcheckbox.h"
#include "tedit.h"
#include "tform.h"
#include "timage.h"
#include "tlistbox.h"
#include "tmemo.h"
#include "tpanel.h"
#include "tprogressbar.h"
#include "tradiobutton.h"

#include <algorithm>
#include <type_traits>

namespace orvane::construction_builtins {

namespace {

// Sizes are kept below what any screen shows, so that no script can make Qt allocate
// gigabytes for a window's pixels; positions stay within the 16-bit coordinates of X11.
constexpr int kMaxExtent = 8192;
constexpr int kMaxCoordinate = 32767;

QRect geometryOf(const BuiltinArgs& args) {
    const auto coordinate = [&](const char* name) {
        return std::clamp(args.integer(name), -kMaxCoordinate, kMaxCoordinate);
    };
    const auto extent = [&](const char* name) {
        return std::clamp(args.integer(name), 0, kMaxExtent);
    };
    return QRect(coordinate("x"), coordinate("y"), extent("b"), extent("h"));
}

// Steps 1 to 4: a new registered object of class Widget with its geometry.
template <class Widget>
std::pair<ScriptObject*, Widget*> registerNew(ScriptWindows& windows, const BuiltinArgs& args,
                                              bool takesHandler) {
    const std::string name = args.text("name");
    const std::string handler = takesHandler ? args.text("e") : std::string();
    const QRect bounds = geometryOf(args);
    windows.registry().requireRoom();
    ScriptObject& object = windows.add(std::make_unique<Widget>(), name, handler);
    auto* widget = object.as<Widget>();
    // A form keeps only its size: where it first appears is the window system's choice.
    if constexpr (std::is_same_v<Widget, TForm>)
        widget->resize(bounds.size());
    else
        widget->setGeometry(bounds);
    return {&object, widget};
}

// Step 5: the control goes into the container named by argument `containerArg`.
void placeInContainer(ScriptWindows& windows, QWidget* control, const BuiltinArgs& args,
                      const char* containerArg) {
    const std::string containerName = args.text(containerArg);
    const ScriptObject* container = windows.find(containerName);
    if (container == nullptr)
        throw gui_errors::notRegistered(containerName);
    if (!canContainControls(container->kind()))
        throw gui_errors::invalidCast();
    QWidget* parent = container->widget();
    if (parent == control)
        throw gui_errors::ownParent();
    const QRect bounds = control->geometry();
    control->setParent(parent);
    control->setGeometry(bounds);
}

// A control's common steps up to its own settings.
template <class Widget>
std::pair<ScriptObject*, Widget*> createControl(ScriptWindows& windows, const BuiltinArgs& args,
                                                bool takesHandler,
                                                const char* containerArg = "parent") {
    auto made = registerNew<Widget>(windows, args, takesHandler);
    placeInContainer(windows, made.second, args, containerArg);
    return made;
}

// A caption as the engine keeps it and as the widget shows it.
template <class Widget>
void setButtonCaption(ScriptObject& object, Widget* widget, const std::string& caption) {
    object.setCaption(caption);
    widget->setText(displayText(caption));
}

// Buttons, check boxes and radio buttons: caption, click event, visible.
template <class Widget> void createClickable(ScriptWindows& windows, const BuiltinArgs& args) {
    auto [object, widget] = createControl<Widget>(windows, args, true);
    setButtonCaption(*object, widget, args.text("c"));
    wireEvent(windows, *object, ScriptEvent::click, widget, &Widget::clicked);
    widget->show();
}

} // namespace

Value createForm(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto [object, form] = registerNew<TForm>(windows, args, false);
    const std::string caption = args.text("c");
    object->setCaption(caption);
    form->setWindowTitle(displayText(caption));
    // The window system chooses where the form first appears; its size is fixed.
    form->setFixedSize(form->size());
    return Value{};
}

Value createProgressBar(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    createControl<TProgressBar>(windows, args, false, "p").second->show();
    return Value{};
}

Value createListBox(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    createControl<TListBox>(windows, args, false, "p").second->show();
    return Value{};
}

Value createLabel(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto [object, label] = createControl<TLabel>(windows, args, false);
    const std::string caption = convertBackslashN(args.text("c"));
    object->setCaption(caption);
    label->setText(displayText(caption));
    label->show();
    return Value{};
}

Value createImage(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto [object, image] = createControl<TImage>(windows, args, true);
    image->show();
    wireEvent(windows, *object, ScriptEvent::click, image, &TImage::clicked);
    return Value{};
}

Value createPanel(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto [object, panel] = createControl<TPanel>(windows, args, false);
    const std::string caption = args.text("c");
    object->setCaption(caption);
    panel->setCaption(displayText(caption));
    panel->show();
    return Value{};
}

Value createButton(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    createClickable<TButton>(windows, args);
    return Value{};
}

Value createHyperLink(ScriptWindows& windows, BuiltinServices& services, const BuiltinArgs& args) {
    auto [object, link] = createControl<THyperLink>(windows, args, false);
    const std::string caption = args.text("c");
    object->setCaption(caption);
    link->setText(displayText(caption));
    link->setURL(plainText(args.text("url")));
    // Both run from the link's mouse event, so they are shielded from Qt.
    link->setOpener([&windows](const QString& target, const OpenResult& done) {
        windows.shielded([&] { windows.linkOpener()(target, done); });
    });
    MessageDialog& dialog = services.dialog;
    link->setNotice([&windows, &dialog](const QString& text, const QString& caption) {
        windows.shielded(
            [&] { dialog.show(text.toStdString(), caption.toStdString(), mbIconError); });
    });
    link->show();
    return Value{};
}

Value createCheckbox(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    createClickable<TCheckBox>(windows, args);
    return Value{};
}

Value createRadiobutton(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    createClickable<TRadioButton>(windows, args);
    return Value{};
}

Value createTextfield(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    createControl<TMemo>(windows, args, false).second->show();
    return Value{};
}

Value createTextedit(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    auto [object, edit] = createControl<TEdit>(windows, args, true);
    if (args.boolean("passwd"))
        edit->setPasswordEcho();
    wireEvent(windows, *object, ScriptEvent::click, edit, &TEdit::textChanged);
    edit->show();
    return Value{};
}

} // namespace orvane::construction_builtins
