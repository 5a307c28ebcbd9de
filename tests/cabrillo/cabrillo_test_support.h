#pragma once
// A start directory with CABRILLO_FORM and TYM.LOG, and the run pieces the Cabrillo export
// takes, so a test can write templates and records and export them.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cabrillo/cabrillo_writer.h"
#include "cabrillo/contest_template.h"
#include "core/field_catalogue.h"
#include "core/program_values.h"
#include "core/qso_record.h"
#include "core/tym_log.h"
#include "settings/configuration.h"
#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"

namespace velmark::testing {

// Field values by catalogue name.
using Fields = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// Joins lines with CR LF after each, as template and Cabrillo files have them.
inline std::string CrLfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

// The lines of a template file: its header, a pattern of ten lines whose lines 1 and 2 are
// given (line 7 names MHZ and YYYYMMDD, line 9 the Cabrillo date), and the end line.
inline std::vector<std::string> TemplateLines(std::string fieldNameLine, std::string mask,
                                              std::vector<std::string> lines = {
                                                  "START-OF-LOG: 3.0"}) {
    lines.insert(lines.end(), {fieldNameLine, mask, "example", "ruler", "ruler", "//formats",
                               "      MHZ     yyyymmdd   hhmm", "//formats",
                               "QSO: ***** ** yyyy-mm-dd nnnn", "example", "END-OF-LOG:"});
    return lines;
}

class CabrilloRun {
  public:
    TempDir Dir;
    TStrukturaADIF Catalogue;
    TNazwyJezykowe Texts;
    ProgramValues Values;
    TPersonalInfo Personal;
    ScriptedUserInterface Ui;

    CabrilloRun() {
        Texts.Fill(kLanguageEnglish);
        Values.StartDirectory = Dir.path().string();
        Values.ProgramFileName = "velmark";
        Values.VersionText = "V: 1.0.2.0";
        std::filesystem::create_directory(Dir.path() / kCabrilloFormFolder);
    }

    // Writes a template file into CABRILLO_FORM.
    void WriteTemplate(const std::string& name, const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        Dir.write(std::string(kCabrilloFormFolder) + "/" + name, text);
    }

    // A record with the given number and field values.
    QsoRecord Qso(std::int32_t qsoNr, Fields fields) const {
        QsoRecord record;
        record.QsoNr = qsoNr;
        for (const auto& [name, value] : fields) {
            const int entry = Catalogue.FindField(name);
            EXPECT_NE(entry, kNoEntry) << name;
            record.SetSlot(entry - 1, value);
        }
        return record;
    }

    // TYM.LOG in the start directory holding these records.
    void WriteTymLog(const std::vector<QsoRecord>& records) {
        TymLog tymLog(Values.PathInStartDirectory(kTymLogName));
        tymLog.CreateEmpty();
        for (const QsoRecord& record : records) {
            tymLog.Append(record);
        }
        tymLog.Close();
    }

    std::string OutputPath() const { return Dir.file("contest.cbr"); }

    bool Export(const std::string& templateName) {
        return ExportCabrillo(
            templateName, CabrilloExportRun{Catalogue, Texts, Values, Personal, Ui, OutputPath()});
    }

    // Loads a template of CABRILLO_FORM as the export does.
    CabrilloTemplate Load(const std::string& templateName) const {
        return LoadTemplate(templateName, Personal, Values, Catalogue);
    }

    // A template made of lines, loaded as from a file of that name.
    CabrilloTemplate Make(const std::vector<std::string>& lines,
                          const std::string& name = "TEST.FRM") const {
        return MakeCabrilloTemplate(SplitTemplateLines(lines), name, Personal, Values, Catalogue);
    }
};

}  // namespace velmark::testing
