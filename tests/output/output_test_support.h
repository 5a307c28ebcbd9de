#pragma once
// Builds the pieces the writers take from a run: a catalogue with the run's columns, QSO
// records filled by field name, and the card loop the run driver performs, so a test can
// write a whole output file.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/field_catalogue.h"
#include "core/program_values.h"
#include "core/qso_record.h"
#include "output/card_layout.h"
#include "output/record_writer.h"
#include "settings/configuration.h"
#include "support/temp_dir.h"

namespace velmark::testing {

struct TestColumn {
    std::string_view Name;  // catalogue name, as a log's title line or tags bring it
    int MeasuredWidth = 0;  // widest value the reader saw; 0 for none
};

// A run's output side: the catalogue, the column list and the settings the writers read.
struct OutputRun {
    TStrukturaADIF Catalogue;
    ColumnList Columns;
    TKonfiguracja Config;
    ProgramValues Values;

    explicit OutputRun(std::initializer_list<TestColumn> columns) {
        for (const TestColumn& column : columns) {
            const int entry = Catalogue.RegisterField(column.Name, Columns);
            if (column.MeasuredWidth > 0) {
                Catalogue.RaiseColumnWidth(entry, column.MeasuredWidth);
            }
        }
    }

    RecordLayout Layout() const { return MakeRecordLayout(Columns, Catalogue, Config, Values); }

    // A QSO with the given number and field values (by catalogue name).
    QsoRecord Qso(
        std::int32_t qsoNr,
        std::initializer_list<std::pair<std::string_view, std::string_view>> fields) const {
        QsoRecord record;
        record.QsoNr = qsoNr;
        for (const auto& [name, value] : fields) {
            const int entry = Catalogue.FindField(name);
            EXPECT_NE(entry, kNoEntry) << name;
            record.SetSlot(entry - 1, value);
        }
        return record;
    }
};

// The expected bytes of a whole output, from tests/data/output.
inline std::string Golden(const std::string& name) {
    return TempDir::read(std::string(VELMARK_TEST_DATA_DIR) + "/output/" + name);
}

// The run driver's writing loop over QSOs already in output order: each QSO record, then the
// fillers the card layout asks for. Stations are told apart by the first 7 characters of CALL.
inline void WriteCards(OutputSink& sink, const RecordLayout& layout,
                       const std::vector<QsoRecord>& qsos, int qsosPerCard) {
    CardLayout cards(qsosPerCard);
    for (std::size_t i = 0; i < qsos.size(); ++i) {
        WriteQsoRecord(sink, layout, qsos[i]);
        const bool sameStation =
            i + 1 < qsos.size() &&
            qsos[i].Slot(kCallKind).substr(0, 7) == qsos[i + 1].Slot(kCallKind).substr(0, 7);
        const CardStep step = cards.AfterQso(sameStation);
        for (int f = 0; f < step.FillerRecords; ++f) {
            WriteFillerRecord(sink, layout);
        }
    }
}

}  // namespace velmark::testing
