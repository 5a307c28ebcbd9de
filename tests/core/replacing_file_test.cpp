#include "core/replacing_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// The id of a process that has ended, as a run killed earlier leaves it.
pid_t endedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(ReplacingFile, OldFileStaysWholeUntilCommitAndIsReplacedAtOnce) {
    TempDir dir;
    const std::string path = dir.write("cards.csv", "old cards\r\n");
    {
        ReplacingFile file(path);
        file.Write("new cards\r\n");
        file.Finish();
        EXPECT_EQ(TempDir::read(path), "old cards\r\n") << "replaced before Commit";
        EXPECT_EQ(filesIn(dir.path()), 2u);
        file.Commit();
    }
    EXPECT_EQ(TempDir::read(path), "new cards\r\n");
    EXPECT_EQ(filesIn(dir.path()), 1u) << "the temporary file stayed";
}

TEST(ReplacingFile, WithoutCommitTheOldFileAndNothingElseRemains) {
    struct Case {
        const char* name;
        bool oldFile;
    };
    for (const Case test : {Case{"replacing an old file", true}, Case{"a new file", false}}) {
        SCOPED_TRACE(test.name);
        TempDir dir;
        const std::string path =
            test.oldFile ? dir.write("Report.txt", "old report\r\n") : dir.file("Report.txt");
        try {
            ReplacingFile file(path);
            file.Write("half a report");
            throw std::runtime_error("the run stops here");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(fs::exists(path), test.oldFile);
        if (test.oldFile) {
            EXPECT_EQ(TempDir::read(path), "old report\r\n");
        }
        EXPECT_EQ(filesIn(dir.path()), test.oldFile ? 1u : 0u);
    }
}

TEST(ReplacingFile, KeepsPermissionsAndWritesThroughASymbolicLink) {
    TempDir dir;
    const std::string real = dir.write("real.csv", "old");
    ::chmod(real.c_str(), 0640);
    const fs::path link = dir.path() / "link.csv";
    fs::create_symlink(real, link);
    ReplaceFileContents(link.string(), "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TempDir::read(real), "new");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ReplacingFile, DeviceIsWrittenInPlace) {
    if (!fs::exists("/dev/null"))
        GTEST_SKIP() << "no /dev/null";
    ReplaceFileContents("/dev/null", "gone");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(ReplacingFile, FolderThatCannotTakeTheFileThrowsTheSystemMessage) {
    TempDir dir;
    const std::string path = dir.file("missing-folder/cards.csv");
    try {
        ReplacingFile file(path);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "No such file or directory: " + path);
    }
}

// Only temporary files of processes that no longer run go; another run's file under way, our
// own, and files that merely look alike stay.
TEST(ReplacingFile, StaleTemporaryFilesOfKilledRunsAreRemovedByTheNextOne) {
    TempDir dir;
    const std::string dead = std::to_string(endedProcessId());
    const std::string alive = std::to_string(::getppid());
    const std::string stale = dir.write(".qsl.csv." + dead + ".velmark-tmp", "half");
    const std::string otherStale = dir.write(".COUNTRY.CSV." + dead + ".velmark-tmp", "half");
    const std::string running = dir.write(".qsl.csv." + alive + ".velmark-tmp", "under way");
    const std::string lookalikes[] = {dir.write("qsl.csv." + dead + ".velmark-tmp", "user's"),
                                      dir.write(".qsl.csv.x" + dead + ".velmark-tmp", "user's"),
                                      dir.write(".qsl.csv." + dead + ".tmp", "user's")};
    ReplaceFileContents(dir.file("Report.txt"), "report");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_FALSE(fs::exists(otherStale));
    EXPECT_TRUE(fs::exists(running));
    for (const std::string& file : lookalikes) EXPECT_TRUE(fs::exists(file)) << file;
}

}  // namespace
}  // namespace velmark
