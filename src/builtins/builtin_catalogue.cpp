// The catalogue of built-ins and its registration and dispatch.
#include "builtin_catalogue.h"

#include "core_builtins.h"
#include "install_builtins.h"
#include "script_error.h"
#include "uninstall_builtins.h"

namespace orvane {

namespace {

constexpr std::int32_t tInt = ttGenTypeInt;
constexpr std::int32_t tBool = ttGenTypeBool;
constexpr std::int32_t tString = ttGenTypeString;
constexpr std::int32_t tVoid = ttGenTypeVoid;

// Alignment codes for setAlign and a few Windows virtual-key codes offered to scripts.
constexpr GlobalConstant kGlobals[] = {{"alTop", 1},      {"alRight", 2},    {"alBottom", 5},
                                       {"alLeft", 3},     {"alAll", 4},      {"vk_lwin", 91},
                                       {"vk_lmenu", 164}, {"vk_up", 38},     {"vk_f4", 115},
                                       {"vk_down", 40},   {"vk_return", 13}, {"vk_tab", 9}};

// The geometry every creator takes after the name.
std::vector<BuiltinParameter> geometry(std::vector<BuiltinParameter> before,
                                       std::vector<BuiltinParameter> after) {
    std::vector<BuiltinParameter> all = std::move(before);
    for (const char* name : {"x", "y", "b", "h"})
        all.push_back({name, tInt});
    all.insert(all.end(), after.begin(), after.end());
    return all;
}

std::vector<BuiltinEntry> buildCatalogue() {
    namespace core = core_builtins;
    namespace uninstall = uninstall_builtins;
    namespace install = install_builtins;
    const BuiltinParameter name{"name", tString};
    return {
        {"messageBox", tVoid, {{"s1", tString}}, core::messageBox},
        {"print", tVoid, {{"textfield", tString}, {"s1", tString}}, core::print},
        {"chr", tString, {{"i1", tInt}}, core::chr},
        {"inttostr", tString, {{"i1", tInt}}, core::inttostr},
        {"strtoint", tInt, {{"s1", tString}}, core::strtoint},
        {"setChecked", tVoid, {name, {"checked", tBool}}, {}},
        {"setListBoxArray", tVoid, {name, {"array", tString}}, {}},
        {"setPanelBorders", tVoid, {name, {"pb", tBool}}, {}},
        {"setFontStyle", tVoid, {name, {"style", tString}}, {}},
        {"setDoubleClickHandler", tVoid, {name, {"dch", tString}}, {}},
        {"setClickHandler", tVoid, {name, {"ch", tString}}, {}},
        {"setProgress", tVoid, {name, {"progress", tInt}}, {}},
        {"setEnabled", tVoid, {name, {"enabled", tBool}}, {}},
        {"gettickcount", tInt, {}, core::gettickcount},
        {"getTokenNumber", tInt, {{"s1", tString}}, core::getTokenNumber},
        {"getStringFromXML", tString, {{"s1", tString}}, install::getStringFromXML},
        {"getFileSizeFromXML", tInt, {{"s1", tString}}, install::getFileSizeFromXML},
        {"showModal", tVoid, {name}, {}},
        {"showUnmodal", tVoid, {name}, {}},
        {"closeForm", tVoid, {name}, {}},
        {"centerForm", tVoid, {name}, {}},
        {"freeObject", tVoid, {name}, {}},
        {"isChecked", tBool, {name}, {}},
        {"getStartmenuItems", tString, {}, install::getStartmenuItems},
        {"MD5", tString, {{"text", tString}}, core::MD5},
        {"getCaption", tString, {name}, {}},
        {"createForm", tVoid, geometry({name}, {{"c", tString}}), {}},
        {"createProgressBar", tVoid, geometry({name}, {{"p", tString}}), {}},
        {"createListBox", tVoid, geometry({name}, {{"p", tString}}), {}},
        {"createButton",
         tVoid,
         geometry({name}, {{"parent", tString}, {"c", tString}, {"e", tString}}),
         {}},
        {"createHyperLink",
         tVoid,
         geometry({name}, {{"parent", tString}, {"c", tString}, {"url", tString}}),
         {}},
        {"createCheckbox",
         tVoid,
         geometry({name}, {{"parent", tString}, {"c", tString}, {"e", tString}}),
         {}},
        {"createRadiobutton",
         tVoid,
         geometry({name}, {{"parent", tString}, {"c", tString}, {"e", tString}}),
         {}},
        {"createPanel", tVoid, geometry({name}, {{"parent", tString}, {"c", tString}}), {}},
        {"createImage", tVoid, geometry({name}, {{"parent", tString}, {"e", tString}}), {}},
        {"getListBoxCurrentItem", tString, {name}, {}},
        {"getProgramFilesDir", tString, {}, install::getProgramFilesDir},
        {"getStartmenuDir", tString, {}, install::getStartmenuDir},
        {"getDesktopDir", tString, {}, install::getDesktopDir},
        {"getUserDir", tString, {}, install::getUserDir},
        {"askYesNo", tBool, {{"text", tString}}, core::askYesNo},
        {"createTextfield", tVoid, geometry({name}, {{"parent", tString}}), {}},
        {"createTextedit",
         tVoid,
         geometry({name, {"passwd", tBool}}, {{"parent", tString}, {"e", tString}}),
         {}},
        {"createLabel", tVoid, geometry({name}, {{"parent", tString}, {"c", tString}}), {}},
        {"setAlign", tVoid, {name, {"align", tInt}}, {}},
        {"setWordWrap", tVoid, {name, {"ww", tBool}}, {}},
        {"repaint", tVoid, {name}, {}},
        {"directoryExists", tBool, {{"dir", tString}}, core::directoryExists},
        {"extractFileDrive", tString, {name}, core::extractFileDrive},
        {"showFolderDialog", tString, {}, {}},
        {"setColor", tVoid, {name, {"color", tInt}}, {}},
        {"setArraySize", tVoid, {name, {"arraysize", tInt}}, install::setArraySize},
        {"writeRegistryString",
         tVoid,
         {{"s1", tString}, {"s2", tString}},
         uninstall::writeRegistryString},
        {"installFile", tVoid, {{"s1", tString}, {"s2", tString}}, install::installFile},
        {"replace", tString, {{"s1", tString}, {"s2", tString}, {"s3", tString}}, core::replace},
        {"setImage", tVoid, {name, {"file", tString}}, {}},
        {"setPictureFromXML", tVoid, {name, {"imagename", tString}}, {}},
        {"createLink", tVoid, {{"s1", tString}, {"s2", tString}}, install::createLink},
        {"setCaption", tVoid, {name, {"caption", tString}}, {}},
        {"addToUninstallData",
         tVoid,
         {{"s1", tString}, {"s2", tString}},
         uninstall::addToUninstallData},
        {"rgb", tInt, {{"r", tInt}, {"g", tInt}, {"b", tInt}}, core::rgb},
        {"shellExecute",
         tVoid,
         {{"file", tString}, {"parameters", tString}, {"directory", tString}},
         install::shellExecute},
        {"sleep", tVoid, {{"wait", tInt}}, core::sleep},
        {"saveUninstallData", tVoid, {{"s1", tString}}, uninstall::saveUninstallData},
        {"random", tInt, {{"i1", tInt}}, core::random},
        // Extension built-ins, after the catalogue's 65.
        {"setExitCode", tVoid, {{"code", tInt}}, core::setExitCode},
        {"setTextFromXML", tVoid, {name, {"path", tString}}, {}},
    };
}

} // namespace

std::span<const GlobalConstant> builtinGlobals() {
    return kGlobals;
}

const std::vector<BuiltinEntry>& builtinCatalogue() {
    static const std::vector<BuiltinEntry> catalogue = buildCatalogue();
    return catalogue;
}

BuiltinHost::BuiltinHost(BuiltinServices services) : m_services(services) {
    for (const BuiltinEntry& entry : builtinCatalogue()) {
        if (entry.function)
            m_functions.emplace(entry.name, entry.function);
    }
}

void BuiltinHost::provide(std::string_view name, BuiltinFunction function) {
    for (const BuiltinEntry& entry : builtinCatalogue()) {
        if (name == entry.name)
            m_functions.insert_or_assign(entry.name, std::move(function));
    }
}

void BuiltinHost::attach(TCInterpreterEx& interpreter) {
    interpreter.OnInitialize = [this](TCInterpreterEx& sender) {
        CInterpreterEx1Initialize(sender);
    };
    interpreter.OnExecuteCustomFunction = [this](TCInterpreterEx& sender, const std::string& name,
                                                 tVariable* localstack) {
        return CInterpreterEx1ExecuteCustomFunction(sender, name, localstack);
    };
}

void BuiltinHost::CInterpreterEx1Initialize(TCInterpreterEx& Sender) {
    for (const GlobalConstant& global : kGlobals)
        Sender.addGlobaleIntVariable(global.name, global.value);
    for (const BuiltinEntry& entry : builtinCatalogue()) {
        std::vector<tParameter> params;
        for (const BuiltinParameter& parameter : entry.parameters)
            params.push_back(TCInterpreterEx::param(parameter.name, parameter.type));
        Sender.addSystemFunction(entry.name, entry.returnType, params);
    }
}

Value BuiltinHost::CInterpreterEx1ExecuteCustomFunction(TCInterpreterEx& Sender,
                                                        const std::string& name,
                                                        tVariable* localstack) {
    const auto found = m_functions.find(name);
    if (found != m_functions.end())
        return found->second(m_services, BuiltinArgs(Sender, localstack));
    for (const BuiltinEntry& entry : builtinCatalogue()) {
        if (name == entry.name)
            throw ScriptError("Die Funktion " + name + " ist in dieser Version nicht verfügbar");
    }
    return Value{}; // not a built-in: no effect, no value
}

} // namespace orvane
