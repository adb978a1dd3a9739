// The installation and file-system built-ins: embedded files, package values, shortcuts, starting
// programs, the standard folders and the resizing of a script's array.
#pragma once

#include "builtin_args.h"
#include "builtin_services.h"

namespace orvane::install_builtins {

Value installFile(BuiltinServices& services, const BuiltinArgs& args);
Value getFileSizeFromXML(BuiltinServices& services, const BuiltinArgs& args);
Value getStringFromXML(BuiltinServices& services, const BuiltinArgs& args);
Value createLink(BuiltinServices& services, const BuiltinArgs& args);
Value shellExecute(BuiltinServices& services, const BuiltinArgs& args);
Value getStartmenuItems(BuiltinServices& services, const BuiltinArgs& args);
Value getStartmenuDir(BuiltinServices& services, const BuiltinArgs& args);
Value getProgramFilesDir(BuiltinServices& services, const BuiltinArgs& args);
Value getDesktopDir(BuiltinServices& services, const BuiltinArgs& args);
Value getUserDir(BuiltinServices& services, const BuiltinArgs& args);
Value setArraySize(BuiltinServices& services, const BuiltinArgs& args);

// The getStartmenuItems result: a string array "array" holding `names` in slots 1..n, with storage
// for at least slots 0..100 and growing beyond that when there are more names.
Value stringArrayValue(const std::vector<std::string>& names);

} // namespace orvane::install_builtins
