// velmark: the desktop program. It wires the process (program file, working directory,
// setup.ini beside the program) to the main window and runs the event loop until the window
// closes. The command line is not read; the one environment variable it looks at is the
// screenshot script of tools/screenshots.sh.

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <filesystem>
#include <memory>

#include "core/program_values.h"
#include "screenshot_script.h"
#include "settings/configuration.h"
#include "ui/cp1250_qstring.h"
#include "ui/help_system.h"
#include "ui/help_viewer.h"
#include "ui/main_window.h"
#include "ui/program_picture.h"

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

    velmark::ui::StartupEnvironment environment;
    environment.SetupIniPath = velmark::DefaultSetupIniPath();
    environment.StartDirectory = std::filesystem::current_path().string();
    environment.ProgramFileName =
        velmark::ui::ToCp1250(QFileInfo(QCoreApplication::applicationFilePath()).fileName());

    velmark::ui::TForm4 window(std::move(environment));
    // From now on the windows that name no help file of their own use the one beside the
    // program, and help speaks the chosen language.
    helpSystem.SetProgramHelpFile((QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                   QString::fromLatin1(velmark::ui::kHelpFileName))
                                      .toStdString());
    helpViewer.SetTexts(&window.Texts());
    helpViewer.SetMessages(&window.Ui());
    window.show();
    return QApplication::exec();
}
