// The JSON-lines transcript of a headless run.
#pragma once

#include "object_snapshot.h"
#include "recording_dialog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::transcript {

// {"event":"msgbox","flags":F,"caption":C,"text":T}
std::string messageBoxEvent(const RecordedBox& box);
// {"event":"registry","path":P,"value":V}: a value that writeRegistryString wrote
std::string registryEvent(std::string_view path, std::string_view value);
// {"event":"file","path":P,"bytes":N}: a file that installFile wrote
std::string fileEvent(std::string_view path, std::uint64_t bytes);
// {"event":"link","path":P,"target":T}: a shortcut that createLink wrote
std::string linkEvent(std::string_view path, std::string_view target);
// {"event":"dump","objects":[{"index":1,"name":...}, ...]}: every registered object.
std::string dumpEvent(const std::vector<ObjectSnapshot>& objects);
// {"event":"open","target":T}: a hyperlink asked the desktop to open T.
std::string openEvent(const std::string& target);
// {"event":"exit","code":N}
std::string exitEvent(int code);

} // namespace orvane::transcript
