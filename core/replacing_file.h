#pragma once
// A new version of a file, written beside it under a temporary name and put in its place only
// when it is complete. Whoever looks at the file meanwhile, and whatever a run killed half-way
// leaves behind, is either the old file, byte for byte, or the whole new one, never a part.
//
// The temporary file is ".<name>.<process id>.velmark-tmp" in the target's folder (the same
// file system, so the final rename is atomic). A temporary file of the same target left by a
// process that no longer runs (a run that was killed) is removed when the next one is created.
// A target that is not a regular file (a device such as /dev/null, a pipe) is written in
// place, since it cannot be replaced.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velmark {

// Whether the new file is forced onto the disk before it takes the old one's place. A small file
// whose loss would hurt (setup.ini) is; large outputs, which a new run writes again, are not.
enum class Durability { Rename, SyncThenRename };

class ReplacingFile {
  public:
    // Creates the temporary file for the target path; throws FileError when it cannot.
    explicit ReplacingFile(std::string path, Durability durability = Durability::Rename);
    // Without Commit the temporary file is removed and the target stays as it was.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Writes bytes through a buffer; a failure throws FileError naming the target.
    void Write(std::string_view bytes);
    // Flushes and closes the temporary file, reporting a failed flush (a full disk, say). The
    // target is not touched yet, so a set of files can be finished first and committed together.
    void Finish();
    // Finishes if need be, then puts the new file in the target's place (keeping the old file's
    // permissions, and writing through a symbolic link to the file it names).
    void Commit();

    // The file the new version will replace.
    const std::string& path() const { return m_path; }
    // Where the bytes go until Commit (the target itself when it is written in place).
    const std::string& temporaryPath() const { return m_temporaryPath; }

  private:
    std::string m_path;
    std::string m_target;  // m_path with a symbolic link followed
    std::string m_temporaryPath;
    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_buffer;
    Durability m_durability;
    bool m_inPlace = false;
    bool m_committed = false;
};

// Replaces the file at path with the given bytes, through a ReplacingFile.
void ReplaceFileContents(const std::string& path, std::string_view bytes,
                         Durability durability = Durability::Rename);

// The temporary files ReplacingFile leaves in a folder only when its process was killed before
// it could clean up: those of processes that no longer run are removed. Returns how many.
int RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace velmark
