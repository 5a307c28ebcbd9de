// The Cabrillo template editor of the second window: the field boxes write names into the
// field-name line, saving names and writes the template file, a bundled template loads into the
// boxes, and the main window's command opens the editor alone.

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

#include "cabrillo/template_editor.h"
#include "main_window_harness.h"
#include "second_window_harness.h"
#include "ui/template_editor_panel.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

class TemplateEditor : public SecondWindowFixture {
  protected:
    TemplateEditor() {
        window = Open();
        window->ShowTemplateEditor();
        editor = window->Formularz_cabrillo;
    }
    QComboBox* FieldBox(int k) const { return editor->FieldBoxes[k - 1]; }
    std::string FieldNameLine() const { return LinesOf(editor->Wzorzec).front(); }
    void Save(const QString& name) {
        editor->NazwaZbioruDoZapisu->setText(name);
        editor->Zapisz_formularz_contestu->click();
    }

    std::unique_ptr<ui::TForm3> window;
    ui::TemplateEditorPanel* editor = nullptr;
};

TEST_F(TemplateEditor, FieldBoxesWriteTheirNameIntoTheFieldNameLineOnly) {
    const std::string start = FieldNameLine();
    ASSERT_EQ(start,
              "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]");
    const std::vector<std::string> before = LinesOf(editor->Wzorzec);
    struct Choice {
        int box;
        const char* name;
        const char* line;
    };
    // Each choice works on the line the previous ones left.
    const Choice choices[] = {
        {3, "CALL", "[[   FREQ MODE CALL TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]"},
        {5, "OPERATOR",
         "[[   FREQ MODE CALL TIME_ON  OPERATOR  RST_SENT STX CALL    RST_RCVD SRX ]]"},
        {12, "NAME",
         "[[   FREQ MODE CALL TIME_ON  OPERATOR  RST_SENT STX CALL    RST_RCVD SRX NAME ]]"},
        {7, "NONE",
         "[[   FREQ MODE CALL TIME_ON  OPERATOR  RST_SENT STX CALL    RST_RCVD SRX NAME ]]"},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.name);
        Pick(FieldBox(choice.box), QString::fromLatin1(choice.name));
        EXPECT_EQ(FieldNameLine(), choice.line);
        EXPECT_EQ(FieldBox(choice.box)->currentText(), choice.name);
    }
    const std::vector<std::string> lines = LinesOf(editor->Wzorzec);
    ASSERT_EQ(lines.size(), before.size());
    EXPECT_TRUE(std::equal(lines.begin() + 1, lines.end(), before.begin() + 1))
        << "the mask and the notes stay as they are";
}

TEST_F(TemplateEditor, FieldBoxesOfferNoneTheStandardNamesThenTheExtraNames) {
    // Without the extra names file (this start directory has none) the standard names serve.
    const std::vector<std::string> standard = FieldChoices({});
    ASSERT_EQ(FieldBox(1)->count(), int(standard.size()));

    CopyBundledCabrilloData(dir.path());
    const auto withExtras = Open();
    const std::vector<std::string> all = FieldChoices(ReadExtraFieldNames(
        (dir.path() / "Non_standardADIF_addition_field_for_cabrillo.txt").string()));
    ASSERT_GT(all.size(), standard.size());
    for (QComboBox* box : withExtras->Formularz_cabrillo->FieldBoxes) {
        ASSERT_EQ(box->count(), int(all.size()));
        EXPECT_EQ(box->itemText(0), "NONE");
        EXPECT_EQ(box->itemText(box->count() - 1).toStdString(), all.back());
    }
}

TEST_F(TemplateEditor, BoxesShowTheNamesOfTheLineEvenUnknownOnes) {
    // The new-contest line names OPERATOR_, which no field has: box 5 shows it all the same.
    EXPECT_EQ(FieldBox(1)->currentText(), "FREQ");
    EXPECT_EQ(FieldBox(5)->currentIndex(), -1);
    EXPECT_EQ(FieldBox(5)->placeholderText(), "OPERATOR_");
    EXPECT_EQ(FieldBox(10)->currentText(), "SRX");
    EXPECT_EQ(FieldBox(11)->currentIndex(), -1);
    EXPECT_EQ(FieldBox(11)->placeholderText(), "Fileld11ADIF");
}

TEST_F(TemplateEditor, SaveWithoutANameShowsTheErrorAndWritesNothing) {
    for (const QString& name : {QString(), QStringLiteral(" ")}) {
        Save(name);
    }
    EXPECT_EQ(questions.errorBoxes,
              std::vector<std::string>(2, "You must give name of output file"));
    EXPECT_FALSE(fs::exists(dir.path() / "CABRILLO_FORM"));
}

TEST_F(TemplateEditor, SaveAddsTheExtensionAndWritesWhatTheBoxesHold) {
    Pick(FieldBox(3), QStringLiteral("CALL"));
    editor->END_OF_LOG->setText(QStringLiteral("END-OF-LOG:"));
    const TemplateText shown = editor->Content();

    struct Case {
        const char* typed;
        const char* saved;
    };
    for (const Case& each : {Case{"CQWW", "CQWW.FRM"}, Case{"cqww.txt", "cqww.txt"}}) {
        SCOPED_TRACE(each.typed);
        Save(QString::fromLatin1(each.typed));
        EXPECT_EQ(editor->NazwaZbioruDoZapisu->text(), each.saved);
        const fs::path file = dir.path() / "CABRILLO_FORM" / each.saved;
        ASSERT_TRUE(fs::exists(file));
        EXPECT_EQ(ReadTemplateFile(file.string()), shown);
    }
    EXPECT_TRUE(questions.errorBoxes.empty());
}

TEST_F(TemplateEditor, ChoosingABundledTemplateLoadsItAndNewContestKeepsIt) {
    CopyBundledCabrilloData(dir.path());
    window = Open();
    window->ShowTemplateEditor();
    editor = window->Formularz_cabrillo;
    const std::vector<std::string> files = ListTemplates(dir.path().string());
    ASSERT_EQ(editor->WyborContestu->count(), int(files.size()) + 1);
    EXPECT_EQ(editor->WyborContestu->itemText(0), "New contest");
    EXPECT_EQ(editor->WyborContestu->currentIndex(), -1);
    EXPECT_EQ(editor->WyborContestu->placeholderText(), "Choice contest");

    Pick(editor->WyborContestu, QStringLiteral("SPDX.FRM"));
    const TemplateText file =
        ReadTemplateFile((dir.path() / "CABRILLO_FORM" / "SPDX.FRM").string());
    EXPECT_EQ(editor->Content(), file);
    EXPECT_EQ(editor->NazwaZbioruDoZapisu->text(), "SPDX.FRM");
    const std::vector<std::string> names = FieldNamesOf(file.PatternLines.front());
    for (std::size_t k = 1; k <= names.size(); ++k) {
        EXPECT_EQ(FieldBox(int(k))->currentText().toStdString(), names[k - 1]) << "box " << k;
    }
    EXPECT_EQ(FieldBox(12)->currentIndex(), -1);

    Pick(editor->WyborContestu, QStringLiteral("New contest"));
    EXPECT_TRUE(editor->NazwaZbioruDoZapisu->text().isEmpty());
    EXPECT_EQ(editor->Content(), file) << "the loaded lines stay as the start of a new template";
    EXPECT_TRUE(questions.errorBoxes.empty());
}

TEST(TemplateEditorCommand, ShowsTheEditorAloneAndDiscardsItOnClose) {
    MainWindowHarness start;
    QPointer<ui::TForm3> shown;
    bool opened = false;
    start.secondWindow = [&](ui::TForm3& window) {
        shown = &window;
        opened = true;
        EXPECT_TRUE(window.Formularz_cabrillo->isVisibleTo(&window));
        EXPECT_FALSE(window.ZapisCabrillo->isVisibleTo(&window));
        EXPECT_FALSE(window.PoszukanieKraju->isVisibleTo(&window));
        EXPECT_GE(window.width(), 1000);
        EXPECT_GE(window.height(), 600);
        window.Formularz_cabrillo->Cofnij->click();
    };
    start.Trigger("ConfigCabrilloFormat1");
    EXPECT_TRUE(opened) << "the window was shown";
    EXPECT_TRUE(shown.isNull()) << "and discarded when it closed";
    for (const char* hidden : {"GroupBox1", "GroupBox7", "Help_Sort", "Button2"}) {
        EXPECT_FALSE(start.Shown(hidden)) << hidden;
    }
}

}  // namespace
}  // namespace velmark::testing
