// What happens when a mapped package file can no longer be read.
//
// The package's pages are read in place for the whole run. Should the file shrink (rewritten in
// place) or its medium go away while the run still needs a page, the kernel answers the read
// with SIGBUS, which would end the process as a crash. Guarded ranges turn that into an orderly
// end instead: the message "Paketdatei nicht mehr lesbar: ..." on standard error and exit
// status 1. A SIGBUS anywhere else is passed on as before.
#pragma once

#include <cstddef>

namespace orvane {

// Guards the `length` bytes from `begin` until unguardMappedRange(begin). Thread-safe; at most
// kMaxGuardedRanges ranges at once (false when full: the range then stays unguarded).
inline constexpr std::size_t kMaxGuardedRanges = 16;
bool guardMappedRange(const void* begin, std::size_t length);
void unguardMappedRange(const void* begin);

} // namespace orvane
