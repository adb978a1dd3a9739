// Replacing a file's whole content so that a crash never leaves it half written.
#pragma once

#include "temporary_names.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace orvane {

// The reason given for a target that exists and is neither a regular file nor a symbolic link (a
// pipe, a device, a socket), and for a path holding a line break, which would split the line of
// the uninstall data that records it.
inline constexpr std::string_view kNotARegularFile = "Keine reguläre Datei";

// True when `path` holds a CR or an LF.
bool holdsLineBreak(std::string_view path);

// Where the new content waits until commit().
enum class TemporaryKind {
    // An unnamed file in the target's folder (O_TMPFILE), given its name only when complete, so
    // that even SIGKILL leaves nothing behind. Where the file system has none, a named one.
    Unnamed,
    // A hidden ".orvane-PID-N.tmp" file beside the target, removed on SIGTERM and SIGINT.
    Named,
};

// A file's new content, written piece by piece into a temporary file in the target's folder and
// put in the target's place by commit() in one step: readers see the old content or the whole new
// one, never a part. Destroying the object without a successful commit removes the temporary
// file, so an error or an exception between open() and commit() leaves the target untouched.
//
// A symbolic link at the path is replaced itself, never written through (a symbolic link to a
// folder earlier in the path is followed). A target that exists and is neither a regular file nor
// a symbolic link is refused, and so is a path holding a line break. A new file gets exactly the
// mode given to open(), whatever the umask; a replaced regular file keeps its permissions (and its
// owner where the process may set it) unless setExactMode() says otherwise.
//
// Every operation returns false with `reason` set to the system's error text (or
// kNotARegularFile) when it fails; after a failure the temporary file is already gone.
class ReplacementFile {
  public:
    explicit ReplacementFile(TemporaryKind kind = TemporaryKind::Unnamed) : m_kind(kind) {}
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the temporary file for `path`; a new file will have exactly `mode`.
    bool open(const std::string& path, mode_t mode, std::string& reason);
    bool write(std::string_view bytes, std::string& reason);
    // Gives the file exactly `mode`, whether or not it existed before.
    void setExactMode(mode_t mode) { m_exactMode = mode; }
    // Lets everyone who may read the file also execute it.
    void setExecutable() { m_executable = true; }
    // Flushes the file to the disk first when `syncToDisk`, then puts it in the target's place.
    bool commit(bool syncToDisk, std::string& reason);

  private:
    bool fail(int error, std::string& reason);
    int examineTarget(const std::string& path);
    int createTemporary(const std::string& folder);
    int settle(bool syncToDisk);
    int linkIn();
    void discard();

    TemporaryKind m_kind;
    int m_fd = -1;
    std::string m_target;
    std::string m_temporary; // the named temporary file, empty for an unnamed one
    RemovalOnSignal m_removal;
    bool m_occupied = false;               // something (a file or a link) stands at the target
    std::optional<struct stat> m_replaced; // the regular file being replaced
    mode_t m_newMode = 0644;
    std::optional<mode_t> m_exactMode;
    bool m_executable = false;
};

// Writes `content` to a new file in the target's folder, flushes it to disk and puts it in the
// place of `path`, as ReplacementFile does; a new file gets mode 0644. Returns false with `reason`
// set when the file cannot be created or written; the target is then untouched.
bool replaceFileContent(const std::string& path, std::string_view content, std::string& reason);

} // namespace orvane
