// The JSON-lines transcript of a headless run.
#pragma once

#include "recording_dialog.h"

#include <string>

namespace orvane::transcript {

// {"event":"msgbox","flags":F,"caption":C,"text":T}
std::string messageBoxEvent(const RecordedBox& box);
// {"event":"exit","code":N}
std::string exitEvent(int code);

} // namespace orvane::transcript
