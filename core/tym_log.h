#pragma once
// TYM.LOG: the run's temporary file of 2052-byte QSO records, record i (from 0) being the QSO
// with QsoNr i + 1. Every failure throws FileError with the system's message.

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/qso_record.h"

namespace velmark {

inline constexpr const char* kTymLogName = "TYM.LOG";

class TymLog {
public:
    explicit TymLog(std::string path);
    ~TymLog();
    TymLog(const TymLog&) = delete;
    TymLog& operator=(const TymLog&) = delete;

    // Creates the file anew (empty) and keeps it open for appending and reading.
    void CreateEmpty();
    // Opens an existing file for reading (the Cabrillo export, the output phase).
    void OpenForReading();
    void Append(const QsoRecord& record);
    // Seeks to record qsoNr - 1 and reads it.
    QsoRecord ReadByQsoNr(std::int32_t qsoNr);
    // Sequential reading from the start: Rewind, then ReadNext until it returns false.
    void Rewind();
    bool ReadNext(QsoRecord& record);
    // Bytes written or present, via the file's size.
    std::int64_t SizeInBytes();
    void Close();
    // Closes and deletes the file (end of a sort or translation run).
    void Delete();

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::FILE* m_file = nullptr;
    void requireOpen();
};

}  // namespace velmark
