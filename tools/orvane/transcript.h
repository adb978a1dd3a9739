// The JSON-lines transcript of a headless run.
#pragma once

#include "object_snapshot.h"
#include "recording_dialog.h"

#include <string>

namespace orvane::transcript {

// {"event":"msgbox","flags":F,"caption":C,"text":T}
std::string messageBoxEvent(const RecordedBox& box);
// {"event":"exit","code":N}
std::string exitEvent(int code);
// {"event":"dump","objects":[{"index":1,"name":...}, ...]}: every registered object.
std::string dumpEvent(const std::vector<ObjectSnapshot>& objects);
// {"event":"open","target":T}: a hyperlink asked the desktop to open T.
std::string openEvent(const std::string& target);

} // namespace orvane::transcript
