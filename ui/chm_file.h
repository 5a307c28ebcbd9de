#pragma once
// A compiled HTML help file (.chm) read through chmlib: its files by archive path, its context
// map (help context number -> topic) and the few settings its compiler stores in #SYSTEM.
// No Qt here: the help viewer puts a window over it, and the help build's tests read the
// compiled file with it.
//
// The context map of a .chm is two internal files: #IVB, a 32-bit byte count followed by pairs
// of 32-bit little-endian numbers (context number, offset into #STRINGS), and #STRINGS, the
// NUL-ended topic paths. Compilers disagree on what such a path holds: Microsoft's compiler
// writes the archive path, Free Pascal's chmcmd 3.2.2 the absolute path of the source file on
// the machine that compiled it. A mapped path is therefore resolved by its longest suffix that
// names a file of the archive.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace velmark::ui {

// True when the name ends in ".chm" in any letter case: the only files the help viewer opens.
bool IsCompiledHelpFileName(std::string_view path);

// The archive's file paths (each beginning with "/"), looked up without regard to letter case
// as the help control does.
class ArchiveIndex {
  public:
    ArchiveIndex() = default;
    explicit ArchiveIndex(const std::vector<std::string>& paths);

    // The stored spelling of a path, or nothing when the archive has no such file.
    std::optional<std::string> Find(std::string_view path) const;
    const std::vector<std::string>& Paths() const { return m_paths; }

  private:
    std::vector<std::string> m_paths;              // sorted as stored
    std::map<std::string, std::string> m_byLower;  // lower-case path -> stored path
};

// The pairs of #IVB with the paths they point to in #STRINGS. A pair whose offset lies outside
// #STRINGS, or whose path is empty, is left out; a count beyond the data is cut to the data.
std::map<std::uint32_t, std::string> ParseContextMap(std::string_view ivb,
                                                     std::string_view strings);

// The archive path that a mapped topic path names: the longest suffix of it, beginning after a
// "/" or "\" (or the whole path), that is a file of the archive. An anchor ("#part") stays on
// the result. Nothing when no suffix names a file.
std::optional<std::string> ResolveTopicPath(std::string_view mapped, const ArchiveIndex& archive);

class ChmFile {
  public:
    enum class OpenFailure { None, Missing, Unreadable };

    // Opens a help file. On failure returns nullptr and says why: no such regular file, or a
    // file that chmlib does not take as a compiled help file.
    static std::unique_ptr<ChmFile> Open(const std::string& path, OpenFailure& failure);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    const std::string& Path() const { return m_path; }
    // The archive's ordinary files (not the compiler's "#" and "$" files).
    const ArchiveIndex& Files() const { return m_files; }
    // The bytes of an archive file, or nothing when it is missing, damaged or implausibly large.
    std::optional<std::string> Read(std::string_view archivePath) const;

    // The context map as stored, and the archive path (perhaps with an anchor) of a context
    // number resolved by the longest-suffix rule.
    const std::map<std::uint32_t, std::string>& ContextMap() const { return m_contextMap; }
    std::optional<std::string> TopicForContext(std::uint32_t context) const;

    // From #SYSTEM: the window title, the default topic and the table of contents (archive
    // paths, empty when not given). Without a stored table of contents, the first .hhc file.
    const std::string& Title() const { return m_title; }
    const std::string& DefaultTopic() const { return m_defaultTopic; }
    const std::string& ContentsFile() const { return m_contentsFile; }

  private:
    ChmFile(std::string path, chmFile* handle);
    // Whether the file holds all of its content section; chmlib reads a file cut short as if
    // the missing bytes were zeros.
    bool isComplete();
    bool liesInFile(std::uint64_t start, std::uint64_t length) const;
    void readFileList();
    void readSystem();

    std::string m_path;
    chmFile* m_handle;
    std::uint64_t m_fileSize = 0;
    std::uint64_t m_contentOffset = 0;  // where the uncompressed content section starts
    ArchiveIndex m_files;
    std::map<std::uint32_t, std::string> m_contextMap;
    std::string m_title;
    std::string m_defaultTopic;
    std::string m_contentsFile;
};

}  // namespace velmark::ui
