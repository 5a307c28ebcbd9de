// velmark: the desktop program. It wires the process (program file, working directory,
// setup.ini) to the main window and runs the event loop until the window closes. The one word of
// the command line it reads is --user-start-directory, which the desktop menu entry passes: the
// program then works in the user's own start directory, filled from the installed reference
// data on first start, instead of the directory the menu happens to start it in. The one
// environment variable it looks at is the screenshot script of tools/screenshots.sh.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QStringList>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "core/errors.h"
#include "core/program_values.h"
#include "screenshot_script.h"
#include "settings/program_locations.h"
#include "ui/cp1250_qstring.h"
#include "ui/help_system.h"
#include "ui/help_viewer.h"
#include "ui/main_window.h"
#include "ui/program_picture.h"
#include "ui/window_title.h"

namespace {

// Fills the user's start directory from the installed data and makes it the working directory.
// On failure the error is shown and the program goes on in the directory it was started in.
void enterUserStartDirectory() {
    try {
        const velmark::ProgramSurroundings surroundings = velmark::CurrentProgramSurroundings();
        const std::filesystem::path start = velmark::UserStartDirectory(surroundings);
        velmark::FillStartDirectory(velmark::InstalledDataDirectory(surroundings), start);
        std::error_code error;
        std::filesystem::current_path(start, error);
        if (error)
            throw velmark::FileError(error.message() + ": " + start.string(), start.string());
    } catch (const velmark::FileError& error) {
        QMessageBox box(QMessageBox::Critical, QString::fromLatin1(velmark::kApplicationTitle),
                        QString::fromLocal8Bit(error.what()), QMessageBox::Ok);
        velmark::ui::ReserveTitleBarWidth(box);
        box.exec();
    }
}

// The setup.ini of this copy. When the user's configuration folder cannot be made, the path is
// kept all the same: writing the file then reports the failure where every write failure is.
std::string setupIniPath() {
    const velmark::ProgramSurroundings surroundings = velmark::CurrentProgramSurroundings();
    try {
        return velmark::PrepareSetupIniPath(surroundings);
    } catch (const velmark::FileError&) {
        return velmark::ChooseSetupIniPath(surroundings).string();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(velmark::kApplicationTitle));
    QApplication::setWindowIcon(QIcon(velmark::ui::ProgramPicture(64)));

    // Started before the main window, whose creation already waits in the language window.
    std::unique_ptr<velmark::gui::ScreenshotScript> screenshots;
    if (const QString script = qEnvironmentVariable("VELMARK_SCREENSHOT_SCRIPT");
        !script.isEmpty()) {
        screenshots = std::make_unique<velmark::gui::ScreenshotScript>(script);
    }

    // The help manager watches every window from the start, so F1 already opens help in the
    // language window that the main window's creation shows.
    velmark::ui::THTMLHelpViewer helpViewer;
    velmark::ui::HelpSystem helpSystem(helpViewer);
    // A help file missing where a window names it is looked for beside the program.
    const std::string programDirectory =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    helpSystem.SetProgramDirectory(programDirectory);

    if (QCoreApplication::arguments().contains(QStringLiteral("--user-start-directory")))
        enterUserStartDirectory();

    velmark::ui::StartupEnvironment environment;
    environment.SetupIniPath = setupIniPath();
    environment.StartDirectory = std::filesystem::current_path().string();
    environment.ProgramFileName =
        velmark::ui::ToCp1250(QFileInfo(QCoreApplication::applicationFilePath()).fileName());

    velmark::ui::TForm4 window(std::move(environment));
    // From now on the windows that name no help file of their own use the one beside the
    // program, and help speaks the chosen language: its messages and its help file.
    helpSystem.SetProgramHelpFile(programDirectory + '/' + velmark::ui::kHelpFileName);
    helpSystem.SetLanguage(window.Config().Language);
    helpViewer.SetTexts(&window.Texts());
    helpViewer.SetMessages(&window.Ui());
    window.show();
    return QApplication::exec();
}
