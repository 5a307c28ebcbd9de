#include "settings/program_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

#include "core/errors.h"
#include "core/replacing_file.h"
#include "core/whole_file.h"
#include "settings/configuration.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFolder = "velmark";

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string homeDirectory() {
    if (std::string home = variable("HOME"); !home.empty())
        return home;
    // A menu or a service may start the program without HOME; the password database knows it.
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "";
}

// An XDG base directory: the variable when it holds an absolute path (relative ones are to be
// ignored), otherwise the default below the home directory.
fs::path baseDirectory(const std::string& value, const std::string& home,
                       const fs::path& defaultBelowHome) {
    if (const fs::path path = value; path.is_absolute())
        return path;
    return fs::path(home) / defaultBelowHome;
}

[[noreturn]] void throwFileError(const std::error_code& error, const fs::path& path) {
    throw FileError(error.message() + ": " + path.string(), path.string());
}

}  // namespace

ProgramSurroundings CurrentProgramSurroundings() {
    ProgramSurroundings surroundings;
    surroundings.ProgramDirectory = fs::path(DefaultSetupIniPath()).parent_path();
    surroundings.ProgramDirectoryWritable =
        ::access(surroundings.ProgramDirectory.c_str(), W_OK) == 0;
    surroundings.XdgConfigHome = variable("XDG_CONFIG_HOME");
    surroundings.XdgDataHome = variable("XDG_DATA_HOME");
    surroundings.Home = homeDirectory();
    return surroundings;
}

fs::path ChooseSetupIniPath(const ProgramSurroundings& surroundings) {
    if (surroundings.ProgramDirectoryWritable)
        return surroundings.ProgramDirectory / "setup.ini";
    return baseDirectory(surroundings.XdgConfigHome, surroundings.Home, ".config") /
           kProgramFolder / "setup.ini";
}

std::string PrepareSetupIniPath(const ProgramSurroundings& surroundings) {
    const fs::path path = ChooseSetupIniPath(surroundings);
    if (!surroundings.ProgramDirectoryWritable) {
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
        if (error)
            throwFileError(error, path.parent_path());
    }
    return path.string();
}

std::string SetupIniPath() {
    return PrepareSetupIniPath(CurrentProgramSurroundings());
}

fs::path UserStartDirectory(const ProgramSurroundings& surroundings) {
    return baseDirectory(surroundings.XdgDataHome, surroundings.Home, ".local/share") /
           kProgramFolder;
}

namespace {

// The compiled help files belong to the program, not to the user: a copy that an earlier
// version left in the start directory would be found before the installed one and miss the
// topics of every newer window element.
bool IsProgramOwnedFile(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".chm";
}

// Puts the installed version of a program-owned file in place of an older copy.
void refreshProgramOwnedFile(const fs::path& installed, const fs::path& copy) {
    const std::string bytes = ReadWholeFile(installed.string());
    if (ReadWholeFile(copy.string()) != bytes)
        ReplaceFileContents(copy.string(), bytes);
}

}  // namespace

fs::path InstalledDataDirectory(const ProgramSurroundings& surroundings) {
    return (surroundings.ProgramDirectory / ".." / "share" / kProgramFolder).lexically_normal();
}

void FillStartDirectory(const fs::path& templateDirectory, const fs::path& startDirectory) {
    std::error_code error;
    fs::create_directories(startDirectory, error);
    if (error)
        throwFileError(error, startDirectory);
    fs::recursive_directory_iterator entry(templateDirectory, error);
    if (error)
        throwFileError(error, templateDirectory);
    for (; entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        if (error)
            throwFileError(error, templateDirectory);
        const fs::path target =
            startDirectory / entry->path().lexically_relative(templateDirectory);
        if (entry->is_directory(error)) {
            fs::create_directories(target, error);
        } else if (fs::copy_file(entry->path(), target, fs::copy_options::skip_existing, error)) {
            // Installed files are read-only for the user; the copies are the user's to edit.
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, error);
        } else if (!error && IsProgramOwnedFile(target)) {
            refreshProgramOwnedFile(entry->path(), target);
        }
        if (error)
            throwFileError(error, target);
    }
    if (error)
        throwFileError(error, templateDirectory);
}

}  // namespace velmark
