#pragma once
// TYM.LOG: the run's temporary file of 2052-byte QSO records, record i (from 0) being the QSO
// with QsoNr i + 1. Every failure throws FileError with the system's message.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/errors.h"
#include "core/qso_record.h"

namespace velmark {

inline constexpr const char* kTymLogName = "TYM.LOG";

class TymLog {
  public:
    // shortReadText is the message for a record the file does not hold in full (the text
    // table's MsgReadBeyondEndOfFile); without it the system's input/output error text is used.
    explicit TymLog(std::string path, std::string shortReadText = {});
    ~TymLog();
    TymLog(const TymLog&) = delete;
    TymLog& operator=(const TymLog&) = delete;

    // Creates the file anew (empty) and keeps it open for appending and reading.
    void CreateEmpty();
    // Opens an existing file for reading (the Cabrillo export, the output phase).
    void OpenForReading();
    // Writes a record at the end of the file (buffered; Close or SizeInBytes flush it).
    void Append(const QsoRecord& record);
    // Reads record qsoNr - 1 (one positioned read; it does not move the sequential reading
    // position); a record not wholly in the file is a FileError, a qsoNr below 1
    // std::out_of_range.
    QsoRecord ReadByQsoNr(std::int32_t qsoNr);
    // The same into a record the caller keeps, reusing its storage (the output phase).
    void ReadByQsoNr(std::int32_t qsoNr, QsoRecord& record);
    // Sequential reading from the start: Rewind, then ReadNext until it returns false.
    void Rewind();
    bool ReadNext(QsoRecord& record);
    // Bytes written or present, via the file's size.
    std::int64_t SizeInBytes();
    // Flushes and closes the file; a failed flush (a full disk) is reported here.
    void Close();
    // Closes and deletes the file (end of a sort or translation run).
    void Delete();

    const std::string& path() const { return m_path; }
    bool isOpen() const { return m_file != nullptr; }

  private:
    enum class Access { None, Read, Write };  // stdio needs a seek when the direction changes

    std::string m_path;
    std::string m_shortReadText;
    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_buffer;
    Access m_lastAccess = Access::None;

    void open(const char* mode);
    void requireOpen();
    void seek(std::int64_t offset, int origin);
    // Reads the next 2052 bytes: false at the clean end of the file.
    bool readRecord(QsoRecord& record);
    FileError shortReadError() const;
};

}  // namespace velmark
