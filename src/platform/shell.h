// The desktop shell as the engine uses it: standard folders, shortcuts, starting programs.
#pragma once

#include <string>

namespace orvane {

enum class ShellFolder {
    Programs,  // the user's start-menu programs folder
    Desktop,   // the user's desktop
    Documents, // the user's documents
};

// A shortcut to a program or document.
struct ShellLink {
    std::string file;          // the shortcut file itself, written at exactly this path
    std::string target;        // what it starts
    std::string arguments;     // command-line arguments for the target; may be empty
    std::string description;   // shown as the shortcut's comment
    std::string workingFolder; // the folder the target starts in
};

class Shell {
  public:
    virtual ~Shell() = default;

    // The folder's path without a trailing "/", or "" when it cannot be determined.
    virtual std::string folderPath(ShellFolder folder) = 0;

    // Writes the shortcut file; false with the system's reason when it cannot be written.
    virtual bool saveLink(const ShellLink& link, std::string& reason) = 0;

    // Starts `file` with `parameters` in the folder `directory` (both may be empty), or opens it
    // with the desktop's default program. Returns at once, never waits for what it started and
    // reports no failure.
    virtual void open(const std::string& file, const std::string& parameters,
                      const std::string& directory) = 0;
};

} // namespace orvane
