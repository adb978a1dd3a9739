// The installation and file-system built-ins on the package, the shell and the registry store.
#include "install_builtins.h"

#include "allgemeines.h"
#include "file_install.h"
#include "folder_listing.h"
#include "registry_store.h"
#include "script_error.h"
#include "shell.h"
#include "short_text.h"
#include "uninstall_list.h"

namespace orvane::install_builtins {

namespace {

const PackageAccess& packageOf(BuiltinServices& services, const std::string& path) {
    if (services.package == nullptr)
        throw ScriptError("Wert '" + path + "' nicht gefunden");
    return *services.package;
}

UninstallList& uninstallListOf(BuiltinServices& services) {
    if (services.uninstall == nullptr)
        throw ScriptError("Die Deinstallationsliste existiert noch nicht");
    return *services.uninstall;
}

Shell& shellOf(BuiltinServices& services) {
    if (services.shell == nullptr)
        throw ScriptError("Die Shell ist nicht verfügbar");
    return *services.shell;
}

Value folderValue(BuiltinServices& services, ShellFolder folder) {
    return generateStringData(shellOf(services).folderPath(folder));
}

// The program-files folder from HKLM; the error box when the key cannot be opened.
std::string programFilesDir(RegistryStore* store, MessageDialog& dialog) {
    if (store != nullptr) {
        const RegResult<bool> opened = store->keyExists(Hive::LocalMachine, kCurrentVersionKey);
        if (opened.ok() && *opened.value) {
            const auto value =
                store->readString(Hive::LocalMachine, kCurrentVersionKey, kProgramFilesDirValue);
            return value.ok() ? value.value->value_or("") : "";
        }
    }
    dialog.show("Konnte Programm-Ordner nicht finden", "Fehler", mbIconError);
    return {};
}

} // namespace

Value stringArrayValue(const std::vector<std::string>& names) {
    auto array = std::make_shared<tVariable>();
    array->name = "array";
    array->typ = ttGenTypeString;
    array->isArray = true;
    array->arraySize = static_cast<std::int32_t>(names.size());
    array->stringSlots.resize(std::max<std::size_t>(names.size(), kDeclaredArraySize) + 1);
    for (std::size_t k = 0; k < names.size(); ++k)
        array->stringSlots[k + 1] = cutText(names[k]);
    return Value{ttGenTypeString, 0, {}, std::move(array)};
}

Value installFile(BuiltinServices& services, const BuiltinArgs& args) {
    const std::string s1 = args.text("s1");
    const std::string s2 = args.text("s2");
    const InstalledFile installed = orvane::installFile(
        packageOf(services, s1), uninstallListOf(services), s1, s2, services.paintBetweenChunks);
    if (services.observer != nullptr)
        services.observer->fileInstalled(installed.path, installed.bytes);
    return Value{};
}

Value getFileSizeFromXML(BuiltinServices& services, const BuiltinArgs& args) {
    const std::string s1 = args.text("s1");
    const std::uint64_t count = packageOf(services, s1).byteCount(s1);
    return generateIntData(static_cast<std::int32_t>(static_cast<std::uint32_t>(count)));
}

Value getStringFromXML(BuiltinServices& services, const BuiltinArgs& args) {
    const std::string s1 = args.text("s1");
    return generateStringData(packageOf(services, s1).text(s1));
}

Value createLink(BuiltinServices& services, const BuiltinArgs& args) {
    const std::string s1 = args.text("s1");
    const std::string s2 = args.text("s2");
    const ShellLink link = orvane::createLink(shellOf(services), uninstallListOf(services), s1, s2);
    if (services.observer != nullptr)
        services.observer->linkCreated(link.file, link.target);
    return Value{};
}

Value shellExecute(BuiltinServices& services, const BuiltinArgs& args) {
    shellOf(services).open(nativePath(args.text("file")), args.text("parameters"),
                           nativePath(args.text("directory")));
    return Value{};
}

Value getStartmenuItems(BuiltinServices& services, const BuiltinArgs&) {
    return stringArrayValue(visibleSubFolders(shellOf(services).folderPath(ShellFolder::Programs)));
}

Value getStartmenuDir(BuiltinServices& services, const BuiltinArgs&) {
    return folderValue(services, ShellFolder::Programs);
}

Value getProgramFilesDir(BuiltinServices& services, const BuiltinArgs&) {
    return generateStringData(programFilesDir(services.registry, services.dialog));
}

Value getDesktopDir(BuiltinServices& services, const BuiltinArgs&) {
    return folderValue(services, ShellFolder::Desktop);
}

Value getUserDir(BuiltinServices& services, const BuiltinArgs&) {
    return folderValue(services, ShellFolder::Documents);
}

Value setArraySize(BuiltinServices&, const BuiltinArgs& args) {
    args.interpreter().setArraySize(args.stack(), args.text("name"), args.integer("arraysize"));
    return Value{};
}

} // namespace orvane::install_builtins
