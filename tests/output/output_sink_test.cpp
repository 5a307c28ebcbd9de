#include "output/output_sink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

using testing::TempDir;

TEST(FileSink, ReplacesAnExistingFileWithTheBytesWritten) {
    TempDir dir;
    const std::string path = dir.write("out.csv", "an older, longer output file\r\n");
    FileSink sink(path);
    sink.WriteLine("\"CALL\"");
    sink.Write("\"\xA3\"");
    sink.Close();
    EXPECT_EQ(TempDir::read(path), "\"CALL\"\r\n\"\xA3\"");
}

TEST(FileSink, AFileThatCannotBeCreatedIsAFileError) {
    TempDir dir;
    const std::string path = dir.file("missing/out.csv");
    try {
        FileSink sink(path);
        ADD_FAILURE() << "opened " << path;
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        EXPECT_EQ(std::string(error.what()), "No such file or directory: " + path);
    }
}

// A full disk shows either when the buffer fills or when it is flushed at the close; both are
// errors with the system's message, never a quiet loss of the output's end.
TEST(FileSink, AFullDiskIsAFileError) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    {
        FileSink small("/dev/full");
        small.WriteLine("\"CALL\"");
        EXPECT_THROW(small.Close(), FileError);
    }
    FileSink large("/dev/full");
    try {
        for (int i = 0; i < 1000; ++i) {
            large.Write(std::string(1000, 'x'));
        }
        large.Close();
        ADD_FAILURE() << "a megabyte went into /dev/full";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "No space left on device: /dev/full");
    }
}

}  // namespace
}  // namespace velmark
