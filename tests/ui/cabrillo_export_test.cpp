// A translation to Cabrillo through the main window: the run opens the second window with its
// export panel, and the file a template pick writes is the one velmark-batch writes from the
// same log, template and setup.ini.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>

#include "main_window_harness.h"
#include "second_window_harness.h"
#include "ui/cabrillo_export_panel.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

// English, ADIF log in, Cabrillo out, with the station's data for the header.
std::string cabrilloIni() {
    return IniText({"[MAIN]", "Language=English", "[For Sort and translate]",
                    "Type input file=ADIFwe", "Type output file=CBRwy",
                    "[Format QSO_Date For Sort and translate]",
                    "Type format of input date QSO=YYYYMMDD", "[Personal info]", "Callsign=SP9XYZ",
                    "First and last name=Jan Kowalski", "Club callsign=SP9KDA"});
}

class CabrilloExport : public ::testing::Test {
  protected:
    CabrilloExport() : start(cabrilloIni()) {
        const fs::path data = VELMARK_SOURCE_DATA_DIR;
        fs::copy(data / "DXCC.LST", start.dir.path());
        fs::copy(data / "sample.adi", start.dir.path());
        CopyBundledCabrilloData(start.dir.path());
        fs::create_directory(start.dir.path() / "out");
    }
    std::string Path(const std::string& name) const { return (start.dir.path() / name).string(); }

    // velmark-batch's translation of the same log through the same template and setup.ini.
    std::string BatchOutput(const std::string& templateName) const {
        const std::string output = Path("out/batch.cbr");
        QProcess batch;
        batch.start(QStringLiteral(VELMARK_BATCH_PROGRAM),
                    {QStringLiteral("--start-dir"), QString::fromStdString(start.dir.path()),
                     QStringLiteral("--config"), QString::fromStdString(start.SetupIniPath()),
                     QStringLiteral("--template"), QString::fromStdString(templateName),
                     QStringLiteral("translate"), QString::fromStdString(Path("sample.adi")),
                     QString::fromStdString(output)});
        EXPECT_TRUE(batch.waitForFinished(60000));
        EXPECT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
        return TempDir::read(output);
    }

    MainWindowHarness start;
};

TEST_F(CabrilloExport, EachPickWritesTheWholeFileAsVelmarkBatchDoes) {
    std::vector<std::string> messages;
    QPointer<ui::TForm3> shown;
    bool opened = false;
    start.secondWindow = [&](ui::TForm3& window) {
        shown = &window;
        opened = true;
        ui::CabrilloExportPanel* panel = window.ZapisCabrillo;
        EXPECT_TRUE(panel->isVisibleTo(&window));
        EXPECT_FALSE(window.Formularz_cabrillo->isVisibleTo(&window));
        EXPECT_FALSE(window.PoszukanieKraju->isVisibleTo(&window));
        EXPECT_GE(window.width(), 450);
        EXPECT_FALSE(panel->ZatwZapisuCabrillo->isVisibleTo(&window));
        EXPECT_EQ(panel->WyborFormularzaContestu->placeholderText(),
                  "Choice FORM file for contest");
        // A pick, another, then the first again: each writes the file from its start.
        for (const char* name : {"SPDX.FRM", "CQ-WW-SSB.FRM", "SPDX.FRM"}) {
            Pick(panel->WyborFormularzaContestu, QString::fromLatin1(name));
        }
        EXPECT_EQ(panel->PostepZapisuCabrillo->value(), 100);
        EXPECT_TRUE(panel->ZatwZapisuCabrillo->isVisibleTo(&window));
        for (const QString& line : panel->Komunikaty_cabrillo->toPlainText().split('\n')) {
            messages.push_back(line.toStdString());
        }
        panel->ZatwZapisuCabrillo->click();
    };
    start.Trigger("TranslationFile1");
    start.questions.fileAnswers = {Path("sample.adi"), Path("out/gui.cbr")};
    start.Click("Zatw_transla");

    ASSERT_TRUE(opened) << "the run opened the export";
    EXPECT_TRUE(shown.isNull()) << "and discarded it when it closed";
    EXPECT_TRUE(start.questions.errorBoxes.empty());
    EXPECT_EQ(messages, (std::vector<std::string>{"File cabrillo for contest =", "gui.cbr",
                                                  "Was writed in a directory ", Path("out")}));
    const std::string written = TempDir::read(Path("out/gui.cbr"));
    EXPECT_NE(written.find("CALLSIGN:  SP9XYZ\r\n"), std::string::npos)
        << "the header holds the station's data";
    EXPECT_EQ(written, BatchOutput("SPDX.FRM"));
}

TEST_F(CabrilloExport, HeaderTakesThePersonalDataAsTypedNotYetConfirmed) {
    start.Trigger("ConfigPersonalInfo1");
    start.TypeInto("Callsign", QStringLiteral("SP9NEW"));
    start.secondWindow = [](ui::TForm3& window) {
        Pick(window.ZapisCabrillo->WyborFormularzaContestu, QStringLiteral("CQ-WW-SSB.FRM"));
        window.ZapisCabrillo->ZatwZapisuCabrillo->click();
    };
    start.Trigger("TranslationFile1");
    start.questions.fileAnswers = {Path("sample.adi"), Path("out/gui.cbr")};
    start.Click("Zatw_transla");
    const std::string written = TempDir::read(Path("out/gui.cbr"));
    EXPECT_NE(written.find("CALLSIGN:  SP9NEW\r\n"), std::string::npos);
}

TEST_F(CabrilloExport, ClosingWithoutAPickWritesNothing) {
    start.secondWindow = [](ui::TForm3& window) { window.close(); };
    start.Trigger("TranslationFile1");
    start.questions.fileAnswers = {Path("sample.adi"), Path("out/gui.cbr")};
    start.Click("Zatw_transla");
    EXPECT_FALSE(fs::exists(Path("out/gui.cbr")));
    EXPECT_TRUE(start.questions.errorBoxes.empty());
}

}  // namespace
}  // namespace velmark::testing
