#pragma once
// Where an installed copy of the programs keeps its files. A copy unpacked into a folder of its
// user keeps setup.ini beside the program file, as always. A copy installed into a system
// directory cannot write there, so its setup.ini goes to the user's configuration directory
// ($XDG_CONFIG_HOME/velmark), and the desktop menu starts it in a start directory of the user's
// own ($XDG_DATA_HOME/velmark), filled on first start from the installed reference data.

#include <filesystem>
#include <string>

namespace velmark {

// What the choice of the files depends on, gathered from the running process by
// CurrentProgramSurroundings; tests build it by hand.
struct ProgramSurroundings {
    std::filesystem::path ProgramDirectory;  // directory of the running program file
    bool ProgramDirectoryWritable = false;
    std::string XdgConfigHome;  // the variables as set; empty when unset
    std::string XdgDataHome;
    std::string Home;  // the user's home directory
};

// Reads the program file's directory, whether the user may write it, and the environment.
// Throws FileError when the program file cannot be found.
ProgramSurroundings CurrentProgramSurroundings();

// setup.ini beside the program file when its directory is writable, otherwise
// <config home>/velmark/setup.ini. Only chooses; creates nothing.
std::filesystem::path ChooseSetupIniPath(const ProgramSurroundings& surroundings);

// The chosen setup.ini path, with its directory created when it is the user's configuration
// directory (the INI writer creates no directories). Throws FileError when that fails.
std::string PrepareSetupIniPath(const ProgramSurroundings& surroundings);

// PrepareSetupIniPath for the running process: the setup.ini of both programs.
std::string SetupIniPath();

// <data home>/velmark: the start directory the desktop menu starts the program in.
std::filesystem::path UserStartDirectory(const ProgramSurroundings& surroundings);

// The installed reference data a user's start directory is filled from:
// <program directory>/../share/velmark.
std::filesystem::path InstalledDataDirectory(const ProgramSurroundings& surroundings);

// Creates startDirectory if needed and copies into it every file and folder of templateDirectory
// that it does not hold yet; a file already there is never overwritten, so the user's edited
// templates and DXCC list survive updates of the installed data. Only the compiled help files
// (*.chm), which belong to the program, are replaced when the installed ones differ, so that
// help after an update shows the topics of the new version. Throws FileError on failure.
void FillStartDirectory(const std::filesystem::path& templateDirectory,
                        const std::filesystem::path& startDirectory);

}  // namespace velmark
