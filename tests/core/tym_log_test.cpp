#include "core/tym_log.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

using testing::TempDir;

QsoRecord recordFor(std::int32_t qsoNr) {
    QsoRecord record;
    record.QsoNr = qsoNr;
    record.SetSlot(kCallKind, "Q" + std::to_string(qsoNr) + "ABC");
    record.EntityAdifNr = 100 + qsoNr;
    record.EntityListNr = 200 + qsoNr;
    return record;
}

void appendRecords(TymLog& log, int count) {
    for (int nr = 1; nr <= count; ++nr) log.Append(recordFor(nr));
}

TEST(TymLog, AFileOfNRecordsIs2052TimesNBytes) {
    const TempDir dir;
    TymLog log(dir.file(kTymLogName));
    log.CreateEmpty();
    EXPECT_EQ(log.SizeInBytes(), 0);
    appendRecords(log, 7);
    EXPECT_EQ(log.SizeInBytes(), 7 * 2052);
    log.Close();
    EXPECT_EQ(std::filesystem::file_size(log.path()), 7u * 2052u);
    // Creating it again empties it.
    log.CreateEmpty();
    EXPECT_EQ(log.SizeInBytes(), 0);
}

TEST(TymLog, RecordsAreReadBackByQsoNumberInAnyOrder) {
    const TempDir dir;
    TymLog log(dir.file(kTymLogName));
    log.CreateEmpty();
    appendRecords(log, 5);
    for (const int nr : {4, 1, 5, 2, 3, 4}) {
        EXPECT_EQ(log.ReadByQsoNr(nr), recordFor(nr)) << nr;
    }
    // Appending after reading still writes at the end.
    log.Append(recordFor(6));
    EXPECT_EQ(log.ReadByQsoNr(6), recordFor(6));
    EXPECT_EQ(log.ReadByQsoNr(1), recordFor(1));
    EXPECT_EQ(log.SizeInBytes(), 6 * 2052);
}

TEST(TymLog, SequentialReadingGivesTheRecordsInFileOrder) {
    const TempDir dir;
    const std::string path = dir.file(kTymLogName);
    {
        TymLog writer(path);
        writer.CreateEmpty();
        appendRecords(writer, 3);
        writer.Close();
    }
    TymLog reader(path);
    reader.OpenForReading();
    for (int pass = 0; pass < 2; ++pass) {
        reader.Rewind();
        QsoRecord record;
        for (int nr = 1; nr <= 3; ++nr) {
            ASSERT_TRUE(reader.ReadNext(record));
            EXPECT_EQ(record, recordFor(nr));
        }
        EXPECT_FALSE(reader.ReadNext(record));
    }
}

TEST(TymLog, ARecordBeyondTheEndIsAnError) {
    const TempDir dir;
    TymLog log(dir.file(kTymLogName), "Read beyond end of file");
    log.CreateEmpty();
    appendRecords(log, 2);
    try {
        log.ReadByQsoNr(3);
        FAIL() << "no error for a record the file does not hold";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Read beyond end of file: " + log.path());
        EXPECT_EQ(error.path(), log.path());
    }
    EXPECT_THROW(log.ReadByQsoNr(0), std::out_of_range);
}

TEST(TymLog, AFileEndingInsideARecordIsAnError) {
    const TempDir dir;
    const std::string path = dir.write(kTymLogName, std::string(2052 + 100, '\0'));
    TymLog log(path);  // without a text, the system's input/output error is reported
    log.OpenForReading();
    QsoRecord record;
    EXPECT_TRUE(log.ReadNext(record));
    try {
        log.ReadNext(record);
        FAIL() << "no error for a truncated record";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), std::string(std::strerror(EIO)) + ": " + path);
    }
    EXPECT_THROW(log.ReadByQsoNr(2), FileError);
}

TEST(TymLog, AMissingDirectoryGivesTheSystemsMessage) {
    const TempDir dir;
    const std::string path = dir.file("no-such-dir/" + std::string(kTymLogName));
    const std::string expected = std::string(std::strerror(ENOENT)) + ": " + path;
    TymLog log(path);
    try {
        log.CreateEmpty();
        FAIL() << "created a file in a missing directory";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), expected);
        EXPECT_EQ(error.path(), path);
    }
    EXPECT_THROW(log.OpenForReading(), FileError);
    EXPECT_THROW(log.Append(recordFor(1)), FileError);  // never opened
}

TEST(TymLog, DeleteRemovesTheFile) {
    const TempDir dir;
    TymLog log(dir.file(kTymLogName));
    log.CreateEmpty();
    appendRecords(log, 1);
    log.Delete();
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(std::filesystem::exists(log.path()));
    EXPECT_THROW(log.Delete(), FileError);  // nothing left to delete
}

}  // namespace
}  // namespace velmark
