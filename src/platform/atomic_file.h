// Replacing a file's whole content so that a crash never leaves it half written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace orvane {

// A file's new content, written piece by piece beside it under a temporary name and renamed over
// it by commit(), which swaps the file in one step: readers see the old content or the whole new
// one, never a part. A symbolic link at the path has the file it points to replaced. A replaced
// file keeps its permissions (and its owner where the process may set it) unless setExactMode()
// says otherwise. Destroying the object without a successful commit removes the temporary file, so
// an error or an exception between open() and commit() leaves the target untouched and no litter.
//
// Every operation returns false with `reason` set to the system's error text when it fails; after
// a failure the temporary file is already gone.
class ReplacementFile {
  public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the temporary file for `path`; a new file gets `mode` less the umask.
    bool open(const std::string& path, mode_t mode, std::string& reason);
    bool write(std::string_view bytes, std::string& reason);
    // Gives the file exactly `mode` (the umask not applied), whether or not it existed before.
    void setExactMode(mode_t mode) { m_exactMode = mode; }
    // Lets everyone who may read the file also execute it.
    void setExecutable() { m_executable = true; }
    // Closes the temporary file, flushed to the disk first when `syncToDisk`, and renames it over
    // the target.
    bool commit(bool syncToDisk, std::string& reason);

  private:
    bool fail(int error, std::string& reason);
    int finishTemporary(bool syncToDisk);
    void discard();

    int m_fd = -1;
    std::string m_target;
    std::string m_temporary;
    bool m_targetExists = false;
    struct stat m_existing {};
    std::optional<mode_t> m_exactMode;
    bool m_executable = false;
};

// Writes `content` to a new file in the target's folder, flushes it to disk and renames it over
// `path`. An existing target keeps its permissions (and its owner where the process may set it);
// a symbolic link at `path` has the file it points to replaced. Returns false with `reason` set to
// the system's error text when the file cannot be created or written; the target is then untouched.
bool replaceFileContent(const std::string& path, std::string_view content, std::string& reason);

} // namespace orvane
