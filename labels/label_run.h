#pragma once
// QSL labels from a sort run. The run reads the log as a sort does (ReadInputLog), sorts the
// index by the configured order and forms the country groups; then every card of the
// mail-merge layout (consecutive QSOs of one station, QsosPerCard at most) becomes one label, in
// sort order, and each country group may begin with a divider label. Drawing the labels is the
// painter's (label_painter/, Qt); this layer decides what each label shows and where it goes, and
// writes the mark-sent ADIF file and the report.
//
// A run: StartLabelJob (sheet, layout, start label; before the log is read, so a wrong sheet
// costs no reading) -> ReadInputLog -> SortForLabels -> draw every label of a LabelSequence ->
// WriteMarkSentFile (only once the labels are complete) -> ReportLabelRun -> FinishLabelRun.

#include <cstdint>
#include <optional>
#include <string>

#include "core/country_groups.h"
#include "core/qso_record.h"
#include "core/tym_log.h"
#include "input/run_objects.h"
#include "labels/label_layout.h"
#include "labels/label_sheet.h"
#include "output/card_layout.h"
#include "output/record_writer.h"

namespace velmark {

class TNazwyJezykowe;
class UserInterface;
struct ProgramValues;
struct TKonfiguracja;

// What the user chose for a labels run.
struct LabelRequest {
    std::string SheetPath;  // the sheet file (FindLabelSheet)
    int StartLabel = 1;     // the first label to use on the first sheet, from 1
    bool Dividers = false;  // a divider label before each country group
};

// A labels run once its sheet is checked and, after SortForLabels, its log sorted.
struct LabelJob {
    LabelSheet Sheet;
    LabelLayout Layout;
    LabelWords Words;
    int QsosPerLabel = 1;
    int StartLabel = 1;
    bool Dividers = false;
    CountryGroupTable Groups;
    int GroupCount = 0;
    std::int64_t CardLabels = 0;     // labels holding QSOs (the cards of the mail merge)
    std::int64_t DividerLabels = 0;  // country-group dividers

    std::int64_t Labels() const { return CardLabels + DividerLabels; }
    std::int64_t Pages() const { return PagesFor(Sheet, StartLabel, Labels()); }
};

// The words of a label in the texts' language, with the station's own callsign.
LabelWords LabelWordsOf(const TNazwyJezykowe& texts, const std::string& ownCallsign);

// The widest value expected in each table column, in characters, for the configured date and
// time layouts.
LabelColumnWidths LabelValueWidths(const TKonfiguracja& config, const ProgramValues& values,
                                   const TNazwyJezykowe& texts);

// Reads and checks the sheet and lays its labels out for the configured QSOs per card; checks
// the start label. Nothing, after the error box saying why, when the run cannot go on.
std::optional<LabelJob> StartLabelJob(const LabelRequest& request, const TKonfiguracja& config,
                                      const ProgramValues& values, const TNazwyJezykowe& texts,
                                      UserInterface& ui);

// After the input phase (RunStatus 0): refuses a log without QSOs (as the sort does), sorts the
// index by the configured order, forms the country groups of an entity order and counts the
// labels. False, with the reason in the message list, when there is nothing to print.
bool SortForLabels(RunObjects& run, LabelJob& job);

// The labels of a sorted run, one after the other, in print order. It reads the QSOs back from
// TYM.LOG; one label's contents are the card's QSO rows (QSO_DATE in the output date layout,
// TIME_ON with the time separator, BAND or else FREQ, SUBMODE or else MODE, RST_SENT, and TNX
// when the station's card came in, QSL_RCVD = Y, PSE otherwise).
class LabelSequence {
  public:
    LabelSequence(RunObjects& run, const LabelJob& job);

    // The next label into `label`; false after the last one.
    bool Next(LabelContent& label);
    // Index positions (QSOs) taken so far, for the progress bar.
    int QsosTaken() const { return m_position; }

  private:
    void takeQso(int position, LabelContent& label);

    RunObjects& m_run;
    const LabelJob& m_job;
    TymLog m_tymLog;
    RecordLayout m_recordLayout;
    CardLayout m_cards;
    QsoRecord m_record;
    int m_position = 0;  // the last index position taken
    int m_group = 0;     // the last country group whose divider was given
    int m_subModeKind = -1;
};

// What drawing the labels gave.
struct LabelsDrawn {
    std::int64_t Labels = 0;
    std::int64_t Pages = 0;
    std::int64_t Qsos = 0;
};

// Writes the ADIF file of every QSO of the run, in print order, with its fields as read (all
// but QSO_NUM, which holds VELMARK's own count rather than the log's value) and QSL_SENT = Y,
// QSLSDATE = today (UTC) and QSL_SENT_VIA = D for a DIRECT route, B otherwise. The file
// replaces an old one only when complete. Returns the number of QSOs written; FileError on
// failure.
std::int64_t WriteMarkSentFile(const std::string& path, RunObjects& run);

// Puts the run's report into the message list: QSOs, labels, dividers, pages, countries,
// where the labels went (`destination`: the PDF file, or the printer's name) and, when one was
// written, the mark-sent file.
void ReportLabelRun(RunObjects& run, const LabelJob& job, const LabelsDrawn& drawn,
                    const std::string& destination, bool toPrinter,
                    const std::string& markSentPath);

// The end of a labels run: TYM.LOG deleted, the end-of-run buttons shown.
void FinishLabelRun(RunObjects& run);

// Today's date (UTC) as ADIF writes dates, YYYYMMDD.
std::string AdifDateOf(std::int64_t secondsSinceEpoch);

}  // namespace velmark
