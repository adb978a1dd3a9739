// The core built-ins: message boxes, conversions, clock, random numbers, text and path helpers.
#pragma once

#include "builtin_args.h"
#include "builtin_services.h"

namespace orvane::core_builtins {

Value messageBox(BuiltinServices& services, const BuiltinArgs& args);
Value print(BuiltinServices& services, const BuiltinArgs& args);
Value chr(BuiltinServices& services, const BuiltinArgs& args);
Value inttostr(BuiltinServices& services, const BuiltinArgs& args);
Value strtoint(BuiltinServices& services, const BuiltinArgs& args);
Value gettickcount(BuiltinServices& services, const BuiltinArgs& args);
Value getTokenNumber(BuiltinServices& services, const BuiltinArgs& args);
Value MD5(BuiltinServices& services, const BuiltinArgs& args);
Value askYesNo(BuiltinServices& services, const BuiltinArgs& args);
Value directoryExists(BuiltinServices& services, const BuiltinArgs& args);
Value extractFileDrive(BuiltinServices& services, const BuiltinArgs& args);
Value replace(BuiltinServices& services, const BuiltinArgs& args);
Value rgb(BuiltinServices& services, const BuiltinArgs& args);
Value sleep(BuiltinServices& services, const BuiltinArgs& args);
Value random(BuiltinServices& services, const BuiltinArgs& args);
// Extension: the exit status of the run when main returns normally.
Value setExitCode(BuiltinServices& services, const BuiltinArgs& args);

// The runtime's integer syntax: blanks, sign, "$"/"x"/"0x" hexadecimal or decimal digits.
std::int32_t parseInteger(std::string_view text);
// `text` with every occurrence of `search` replaced, searching again from the start
// after each replacement (one left-to-right pass when that would never end).
std::string replaceAll(std::string text, std::string_view search, std::string_view replacement);
// The drive part of a path ("C:" or "\\server\share"), or "".
std::string driveOf(std::string_view path);

} // namespace orvane::core_builtins
