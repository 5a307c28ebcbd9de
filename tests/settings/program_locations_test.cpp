#include "settings/program_locations.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

ProgramSurroundings installedIn(const fs::path& programDirectory, bool writable) {
    ProgramSurroundings surroundings;
    surroundings.ProgramDirectory = programDirectory;
    surroundings.ProgramDirectoryWritable = writable;
    surroundings.Home = "/home/op";
    return surroundings;
}

struct SetupIniCase {
    const char* name;
    bool writable;
    const char* xdgConfigHome;
    const char* expected;
};

class ChooseSetupIniPathTest : public ::testing::TestWithParam<SetupIniCase> {};

TEST_P(ChooseSetupIniPathTest, BesideAWritableProgramOtherwiseInTheConfigHome) {
    const SetupIniCase& c = GetParam();
    ProgramSurroundings surroundings = installedIn("/opt/velmark/bin", c.writable);
    surroundings.XdgConfigHome = c.xdgConfigHome;
    EXPECT_EQ(ChooseSetupIniPath(surroundings), fs::path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseSetupIniPathTest,
    ::testing::Values(
        // An unpacked copy keeps its settings with it, whatever the environment says.
        SetupIniCase{"UnpackedCopy", true, "/cfg", "/opt/velmark/bin/setup.ini"},
        SetupIniCase{"UnpackedCopyNoXdg", true, "", "/opt/velmark/bin/setup.ini"},
        SetupIniCase{"InstalledWithConfigHome", false, "/cfg", "/cfg/velmark/setup.ini"},
        SetupIniCase{"InstalledConfigHomeUnset", false, "", "/home/op/.config/velmark/setup.ini"},
        // Relative base directories are invalid and to be ignored.
        SetupIniCase{"InstalledRelativeConfigHome", false, "cfg",
                     "/home/op/.config/velmark/setup.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StartDirectoryCase {
    const char* name;
    const char* xdgDataHome;
    const char* expected;
};

class UserStartDirectoryTest : public ::testing::TestWithParam<StartDirectoryCase> {};

TEST_P(UserStartDirectoryTest, IsTheVelmarkFolderOfTheDataHome) {
    const StartDirectoryCase& c = GetParam();
    ProgramSurroundings surroundings = installedIn("/usr/bin", false);
    surroundings.XdgDataHome = c.xdgDataHome;
    // The choice of setup.ini must not leak into the start directory.
    surroundings.XdgConfigHome = "/cfg";
    EXPECT_EQ(UserStartDirectory(surroundings), fs::path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserStartDirectoryTest,
    ::testing::Values(StartDirectoryCase{"DataHomeSet", "/data", "/data/velmark"},
                      StartDirectoryCase{"DataHomeUnset", "", "/home/op/.local/share/velmark"},
                      StartDirectoryCase{"DataHomeRelative", "data",
                                         "/home/op/.local/share/velmark"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstalledDataDirectory, IsTheSharedFolderBesideTheProgramsFolder) {
    EXPECT_EQ(InstalledDataDirectory(installedIn("/usr/bin", false)), "/usr/share/velmark");
    EXPECT_EQ(InstalledDataDirectory(installedIn("/usr/local/bin", false)),
              "/usr/local/share/velmark");
}

TEST(PrepareSetupIniPath, CreatesTheConfigFolderOfAnInstalledCopy) {
    TempDir dir;
    ProgramSurroundings surroundings = installedIn(dir.path() / "bin", false);
    surroundings.XdgConfigHome = (dir.path() / "new" / "config").string();
    const std::string path = PrepareSetupIniPath(surroundings);
    EXPECT_EQ(path, (dir.path() / "new/config/velmark/setup.ini").string());
    EXPECT_TRUE(fs::is_directory(dir.path() / "new/config/velmark"));
    EXPECT_FALSE(fs::exists(path)) << "the file itself is the INI writer's";
}

TEST(PrepareSetupIniPath, AnUnpackedCopyCreatesNothing) {
    TempDir dir;
    ProgramSurroundings surroundings = installedIn(dir.path(), true);
    surroundings.XdgConfigHome = (dir.path() / "config").string();
    EXPECT_EQ(PrepareSetupIniPath(surroundings), (dir.path() / "setup.ini").string());
    EXPECT_FALSE(fs::exists(dir.path() / "config"));
}

TEST(PrepareSetupIniPath, AConfigFolderThatCannotBeMadeIsAFileError) {
    TempDir dir;
    const std::string blocker = dir.write("config", "a file, not a folder");
    ProgramSurroundings surroundings = installedIn(dir.path() / "bin", false);
    surroundings.XdgConfigHome = blocker;
    try {
        PrepareSetupIniPath(surroundings);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), (fs::path(blocker) / "velmark").string());
    }
}

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(CurrentProgramSurroundings, ReadsTheProgramFolderAndTheEnvironment) {
    const ScopedVariable config("XDG_CONFIG_HOME", "/the/config");
    const ScopedVariable data("XDG_DATA_HOME", "/the/data");
    const ScopedVariable home("HOME", "/the/home");
    const ProgramSurroundings surroundings = CurrentProgramSurroundings();
    EXPECT_TRUE(fs::exists(surroundings.ProgramDirectory / "velmark_settings_tests"));
    EXPECT_EQ(surroundings.ProgramDirectoryWritable,
              ::access(surroundings.ProgramDirectory.c_str(), W_OK) == 0);
    EXPECT_EQ(surroundings.XdgConfigHome, "/the/config");
    EXPECT_EQ(surroundings.XdgDataHome, "/the/data");
    EXPECT_EQ(surroundings.Home, "/the/home");
}

TEST(CurrentProgramSurroundings, WithoutHomeTheUsersEntryGivesIt) {
    const passwd* entry = ::getpwuid(::getuid());
    if (entry == nullptr)
        GTEST_SKIP() << "this user has no password entry";
    const std::string expected = entry->pw_dir;
    const ScopedVariable home("HOME", nullptr);
    EXPECT_EQ(CurrentProgramSurroundings().Home, expected);
}

// A small installed data folder: a file at the top and one in a subfolder.
void writeTemplate(const TempDir& dir) {
    fs::create_directories(dir.path() / "share/CABRILLO_FORM");
    dir.write("share/DXCC.LST", "installed list");
    dir.write("share/CABRILLO_FORM/ARRL-DX.FRM", "installed template");
    dir.write("share/VELMARK_TRANSLATION.chm", "installed help");
}

TEST(FillStartDirectory, FirstStartCopiesTheWholeTreeIntoANewFolder) {
    TempDir dir;
    writeTemplate(dir);
    const fs::path start = dir.path() / "home/.local/share/velmark";
    FillStartDirectory(dir.path() / "share", start);
    EXPECT_EQ(TempDir::read((start / "DXCC.LST").string()), "installed list");
    EXPECT_EQ(TempDir::read((start / "CABRILLO_FORM/ARRL-DX.FRM").string()), "installed template");
}

TEST(FillStartDirectory, KeepsTheUsersFilesAndAddsOnlyWhatIsMissing) {
    TempDir dir;
    writeTemplate(dir);
    const fs::path start = dir.path() / "start";
    FillStartDirectory(dir.path() / "share", start);
    dir.write("start/CABRILLO_FORM/ARRL-DX.FRM", "edited by the user");
    dir.write("start/setup-notes.txt", "the user's own file");
    fs::remove(start / "DXCC.LST");
    dir.write("share/DXCC.LST", "a newer installed list");
    dir.write("share/CABRILLO_FORM/NEW.FRM", "a new template");
    dir.write("share/VELMARK_TRANSLATION.chm", "the help of a newer version");

    FillStartDirectory(dir.path() / "share", start);
    EXPECT_EQ(TempDir::read((start / "CABRILLO_FORM/ARRL-DX.FRM").string()), "edited by the user");
    EXPECT_EQ(TempDir::read((start / "setup-notes.txt").string()), "the user's own file");
    EXPECT_EQ(TempDir::read((start / "DXCC.LST").string()), "a newer installed list");
    EXPECT_EQ(TempDir::read((start / "CABRILLO_FORM/NEW.FRM").string()), "a new template");
    // The help belongs to the program: the newer version replaces the old copy.
    EXPECT_EQ(TempDir::read((start / "VELMARK_TRANSLATION.chm").string()),
              "the help of a newer version");
}

TEST(FillStartDirectory, CopiesOfReadOnlyInstalledFilesAreTheUsersToEdit) {
    TempDir dir;
    writeTemplate(dir);
    fs::permissions(dir.path() / "share/DXCC.LST", fs::perms::owner_read | fs::perms::group_read);
    FillStartDirectory(dir.path() / "share", dir.path() / "start");
    const fs::perms perms = fs::status(dir.path() / "start/DXCC.LST").permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

TEST(FillStartDirectory, FailuresAreFileErrorsNamingThePath) {
    TempDir dir;
    writeTemplate(dir);
    const std::string blocker = dir.write("start", "a file, not a folder");
    struct Case {
        fs::path templateDirectory;
        fs::path startDirectory;
        fs::path named;
    };
    for (const Case& c :
         {Case{dir.path() / "share", blocker, blocker},
          Case{dir.path() / "missing", dir.path() / "fresh", dir.path() / "missing"}}) {
        try {
            FillStartDirectory(c.templateDirectory, c.startDirectory);
            ADD_FAILURE() << "no error for " << c.startDirectory;
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), c.named.string());
        }
    }
}

}  // namespace
}  // namespace velmark
