// Named temporary files beside a target: their names, and their removal when a signal ends the
// process.
#pragma once

#include <string>

namespace orvane {

// A name for a temporary file in `folder` that this process has not used before:
// ".orvane-PID-N.tmp". Hidden, so that folder listings do not show it while it exists.
std::string temporaryNameIn(const std::string& folder);

// Keeps a named temporary file on the list of files that SIGTERM and SIGINT remove before the
// process ends, from arm() until release() or destruction. The first guard installs the
// handlers; a handler that was installed before them still runs after the removal, and without
// one the signal ends the process as it would have. At most kSlots files are guarded at once (the
// engine writes one file at a time); a file beyond that goes unguarded.
class RemovalOnSignal {
  public:
    static constexpr int kSlots = 64;

    RemovalOnSignal() = default;
    ~RemovalOnSignal() { release(); }
    RemovalOnSignal(const RemovalOnSignal&) = delete;
    RemovalOnSignal& operator=(const RemovalOnSignal&) = delete;

    // Puts `path` on the list, in place of the file guarded so far.
    void arm(const std::string& path);
    // Takes the file off the list: it has been renamed or removed.
    void release();

  private:
    int m_slot = -1;
};

} // namespace orvane
