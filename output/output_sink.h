#pragma once
// Where the output writers put their bytes. The writers only ever call Write, so a run writes
// through files while a test can put a sink in their place (one that keeps the bytes, or one
// that fails after a given number of bytes to prove that a failed write stops the run).

#include <string>
#include <string_view>

#include "core/replacing_file.h"

namespace velmark {

// The line end of every text file the program writes.
inline constexpr std::string_view kLineEnd = "\r\n";

class OutputSink {
  public:
    virtual ~OutputSink() = default;

    // Writes bytes as they are; a failure throws FileError.
    virtual void Write(std::string_view bytes) = 0;

    // Writes a text and the line end.
    void WriteLine(std::string_view text) {
        Write(text);
        Write(kLineEnd);
    }
};

// A file written anew through a buffer, which replaces the old file of the same name only when
// it is complete (see ReplacingFile): a run that fails or is killed half-way leaves the old file
// as it was. Every failure, including one that only shows when the buffer is flushed, throws
// FileError with the system's message and the file's path.
class FileSink : public OutputSink {
  public:
    explicit FileSink(std::string path) : m_file(std::move(path)) {}

    void Write(std::string_view bytes) override { m_file.Write(bytes); }
    // Flushes the buffer, reporting a failed flush (a full disk, say), and puts the new file in
    // place of the old one.
    void Close() { m_file.Commit(); }
    // The two halves of Close, for a set of files that replace their old versions together:
    // Finish each one, then Commit each one.
    void Finish() { m_file.Finish(); }
    void Commit() { m_file.Commit(); }

    const std::string& path() const { return m_file.path(); }

  private:
    ReplacingFile m_file;
};

}  // namespace velmark
