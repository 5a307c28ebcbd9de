// The labels of a sort run: the same cards as the mail-merge file (one station a label, never
// two), divider labels at the country groups, what each row shows, the refusals, and the ADIF
// file of the QSOs sent.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "labels/label_run.h"
#include "support/temp_dir.h"
#include "tests/run/run_fixture.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

// One ADIF record of the given fields, in order.
std::string Adif(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string record;
    for (const auto& [name, value] : fields)
        record += "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
    return record + "<EOR>\r\n";
}

std::string Qso(const std::string& call, const std::string& date = "20240105",
                const std::string& via = "") {
    std::vector<std::pair<std::string, std::string>> fields = {
        {"CALL", call}, {"QSO_DATE", date}, {"TIME_ON", "1200"}, {"BAND", "20M"}, {"MODE", "CW"}};
    if (!via.empty())
        fields.emplace_back("QSL_VIA", via);
    return Adif(fields);
}

// A sort run made ready for labels on the L7160 sheet of the start directory.
class LabelRun : public RunFixture {
  public:
    explicit LabelRun(int entities = 3) : RunFixture(entities) {
        fs::create_directories(dir.path() / kLabelSheetFolder);
        fs::copy_file(fs::path(VELMARK_SOURCE_DATA_DIR) / kLabelSheetFolder / "L7160.sheet",
                      dir.path() / kLabelSheetFolder / "L7160.sheet");
        config.QsosPerCard = 3;
        config.Sorting = kOrderByListNr;
        config.PersonalInfo.Callsign = "SP9XYZ";
    }

    // Checks the sheet, reads the log and sorts it; the job, or nothing when refused.
    std::optional<LabelJob> Prepare(const std::string& log, bool dividers = false,
                                    int startLabel = 1) {
        const LabelRequest request{LabelSheetPath(dir.path().string(), "L7160.sheet"), startLabel,
                                   dividers};
        std::optional<LabelJob> job = StartLabelJob(request, config, values, texts, ui);
        if (!job)
            return std::nullopt;
        ReadLog(log);
        if (!SortForLabels(objects, *job))
            return std::nullopt;
        return job;
    }

    std::vector<LabelContent> Labels(const LabelJob& job) {
        std::vector<LabelContent> labels;
        LabelSequence sequence(objects, job);
        LabelContent label;
        while (sequence.Next(label)) labels.push_back(label);
        return labels;
    }
};

std::string LogOf(const std::vector<std::string>& records) {
    std::string log = "Test log\r\n<ADIF_VER:5>3.1.4\r\n<EOH>\r\n";
    for (const std::string& record : records) log += record;
    return log;
}

// Callsigns of entities 0, 1 and 2, and of no entity.
const std::string kA = EntityPrefix(0) + "1A";
const std::string kB = EntityPrefix(0) + "1B";
const std::string kC = EntityPrefix(1) + "1C";
const std::string kD = EntityPrefix(2) + "1D";

TEST(LabelRunCards, FollowTheMailMergeCardsOneStationALabel) {
    // A has four QSOs: a full card and a card of one; B one; C, of another entity, two.
    const std::string log = LogOf({Qso(kA, "20240101"), Qso(kB), Qso(kC, "20240101"), Qso(kA),
                                   Qso(kA, "20240103"), Qso(kA, "20240104"), Qso(kC)});
    LabelRun run;
    const auto job = run.Prepare(log);
    ASSERT_TRUE(job);
    const std::vector<LabelContent> labels = run.Labels(*job);
    std::vector<std::pair<std::string, std::size_t>> cards;
    for (const LabelContent& label : labels) cards.emplace_back(label.Callsign, label.Rows.size());
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {kA, 3}, {kA, 1}, {kB, 1}, {kC, 2}};
    EXPECT_EQ(cards, expected);
    EXPECT_EQ(job->CardLabels, 4);
    EXPECT_EQ(job->DividerLabels, 0);
    // The group sort puts a station's later QSOs first, as the mail merge does.
    EXPECT_EQ(labels[0].QsoNumbers, (std::vector<std::int32_t>{6, 5, 4}));
    EXPECT_EQ(labels[1].QsoNumbers, (std::vector<std::int32_t>{1}));
}

// The same log through labels and through the CSV mail merge: card for card the same QSOs.
TEST(LabelRunCards, HoldExactlyTheQsosOfEachMailMergeCard) {
    std::vector<std::string> records;
    const std::vector<std::string> calls = {kA, kB, kC, kD, "Q9ZZZ", kA,      kA, kC, kA, kA, kB,
                                            kD, kD, kD, kD, kA,      "Q9ZZZ", kC, kC, kC, kC};
    for (std::size_t i = 0; i < calls.size(); ++i)
        records.push_back(Qso(calls[i], "202401" + std::to_string(10 + i % 20)));
    const std::string log = LogOf(records);
    for (const int order : {kOrderByListNr, kOrderByAdifNr, kOrderByCall}) {
        SCOPED_TRACE(order);
        LabelRun labels;
        labels.config.Sorting = static_cast<std::uint8_t>(order);
        if (order == kOrderByCall)
            labels.ui.warningAnswers.push_back(false);
        const auto job = labels.Prepare(log);
        ASSERT_TRUE(job);
        std::vector<std::vector<std::string>> labelCards;
        for (const LabelContent& label : labels.Labels(*job))
            labelCards.push_back(std::vector<std::string>(label.Rows.size(), label.Callsign));

        LabelRun mailMerge;
        mailMerge.config.Sorting = static_cast<std::uint8_t>(order);
        if (order == kOrderByCall)
            mailMerge.ui.warningAnswers.push_back(false);
        mailMerge.ReadLog(log);
        ASSERT_TRUE(mailMerge.Write());
        // The CSV: a title row, then three rows a card, filler rows of dashes.
        const std::string csv = TempDir::read(mailMerge.OutputPath());
        std::vector<std::vector<std::string>> csvCards;
        std::size_t start = csv.find("\r\n") + 2;
        for (int row = 0; start < csv.size(); ++row) {
            const std::size_t end = csv.find("\r\n", start);
            const std::string call = csv.substr(start + 1, csv.find('"', start + 1) - start - 1);
            if (row % 3 == 0)
                csvCards.emplace_back();
            if (call != "-------")
                csvCards.back().push_back(call);
            start = end + 2;
        }
        EXPECT_EQ(labelCards, csvCards);
    }
}

TEST(LabelRunDividers, OpenEveryCountryGroupWithItsNameAndNumbers) {
    const std::string log =
        LogOf({Qso(kC), Qso(kA), Qso("Q9ZZZ"), Qso(kB), Qso(kD, "20240105", "DIRECT")});
    LabelRun run;
    const auto job = run.Prepare(log, /*dividers=*/true);
    ASSERT_TRUE(job);
    std::vector<std::string> shown;
    for (const LabelContent& label : run.Labels(*job)) {
        shown.push_back(label.Divider
                            ? "[" + label.EntityName + " " + std::to_string(label.EntityListNr) +
                                  "/" + std::to_string(label.EntityAdifNr) + "]"
                            : label.Callsign);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"[ENTITY 1 1/1]", kA, kB, "[ENTITY 2 2/2]", kC,
                                               "[COUNTRY NOT PRESENT 998/998]", "Q9ZZZ",
                                               "[DIRECT 999/999]", kD}));
    EXPECT_EQ(job->DividerLabels, 4);
    EXPECT_EQ(job->Labels(), 9);
    EXPECT_EQ(job->Pages(), 1);
}

TEST(LabelRunDividers, ACallsignSortHasNoGroupsAndSaysSo) {
    LabelRun run;
    run.config.Sorting = kOrderByCall;
    run.ui.warningAnswers.push_back(false);
    const auto job = run.Prepare(LogOf({Qso(kC), Qso(kA)}), /*dividers=*/true);
    ASSERT_TRUE(job);
    EXPECT_FALSE(job->Dividers);
    EXPECT_EQ(job->Labels(), 2);
    EXPECT_NE(std::find(run.ui.messages.begin(), run.ui.messages.end(),
                        run.texts.MsgNoDividersForCallOrder),
              run.ui.messages.end());
}

TEST(LabelRunRows, ShowTheQsoAsTheOutputLayoutsWriteIt) {
    LabelRun run;
    run.config.OutputDateFormat = 3;  // YYYY-MM-DD
    run.values.DateSeparatorText = ".";
    run.values.TimeSeparatorText = ":";
    const std::string log =
        LogOf({Adif({{"CALL", kA},
                     {"QSO_DATE", "20240105"},
                     {"TIME_ON", "1807"},
                     {"FREQ", "14.074000"},
                     {"MODE", "MFSK"},
                     {"SUBMODE", "FT4"},
                     {"RST_SENT", "-10"},
                     {"QSL_RCVD", "Y"},
                     {"QSL_VIA", "via q1mgr"}}),
               Adif({{"CALL", kA},
                     {"QSO_DATE", "20240104"},
                     {"TIME_OFF", "0002"},
                     {"BAND", "2M"},
                     {"MODE", "FM"},
                     {"RST_SENT", "59"},
                     {"QSL_RCVD", "N"},
                     {"QSL_VIA", "Q1MGR"}}),
               Adif({{"CALL", kB}, {"QSO_DATE", "20240101"}, {"QSL_VIA", "direct"}}),
               Adif({{"CALL", kC}, {"QSO_DATE", "20240101"}, {"QSL_VIA", "DIRECT Q2MGR"}})});
    const auto job = run.Prepare(log);
    ASSERT_TRUE(job);
    std::map<std::string, LabelContent> byCall;
    for (const LabelContent& label : run.Labels(*job)) byCall[label.Callsign] = label;
    ASSERT_EQ(byCall.size(), 3u);

    const LabelContent& a = byCall[kA];
    EXPECT_EQ(a.Manager, "Q1MGR");
    EXPECT_FALSE(a.Direct);
    // The later QSO first, as the mail merge has it.
    ASSERT_EQ(a.Rows.size(), 2u);
    EXPECT_EQ(a.Rows[0], (LabelCells{"2024.01.04", "00:02", "2M", "FM", "59", "PSE"}));
    EXPECT_EQ(a.Rows[1], (LabelCells{"2024.01.05", "18:07", "14.074", "FT4", "-10", "TNX"}));

    EXPECT_TRUE(byCall[kB].Direct);
    EXPECT_EQ(byCall[kB].Manager, "");
    EXPECT_EQ(byCall[kB].Rows[0], (LabelCells{"2024.01.01", "", "", "", "", "PSE"}));
    EXPECT_TRUE(byCall[kC].Direct);
    EXPECT_EQ(byCall[kC].Manager, "Q2MGR");
}

TEST(LabelRunRefusals, ALogWithoutQsosIsRefusedAsTheSortRefusesIt) {
    LabelRun run;
    EXPECT_FALSE(run.Prepare(LogOf({})));
    EXPECT_EQ(run.ui.messages, (std::vector<std::string>{run.texts.MsgNoQsosRead}));
    EXPECT_TRUE(run.ui.endButtonsVisible);
}

struct StartRefusal {
    const char* name;
    void (*prepare)(LabelRun&, LabelRequest&);
    std::string (*message)(const TNazwyJezykowe&);
};

void PrintTo(const StartRefusal& c, std::ostream* out) {
    *out << c.name;
}

class LabelRunStart : public ::testing::TestWithParam<StartRefusal> {};

TEST_P(LabelRunStart, RefusesBeforeTheLogIsReadWithAnErrorBox) {
    LabelRun run;
    LabelRequest request{LabelSheetPath(run.dir.path().string(), "L7160.sheet"), 1, false};
    GetParam().prepare(run, request);
    EXPECT_FALSE(StartLabelJob(request, run.config, run.values, run.texts, run.ui));
    ASSERT_EQ(run.ui.errorBoxes.size(), 1u);
    EXPECT_EQ(run.ui.errorBoxes[0], GetParam().message(run.texts));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, LabelRunStart,
    ::testing::Values(
        StartRefusal{"StartLabelPastTheSheet",
                     [](LabelRun&, LabelRequest& r) { r.StartLabel = 22; },
                     [](const TNazwyJezykowe& t) {
                         return t.MsgLabelStartOutOfRange + "21\r" + t.MsgLabelStartGiven + "22";
                     }},
        StartRefusal{"StartLabelZero", [](LabelRun&, LabelRequest& r) { r.StartLabel = 0; },
                     [](const TNazwyJezykowe& t) {
                         return t.MsgLabelStartOutOfRange + "21\r" + t.MsgLabelStartGiven + "0";
                     }},
        StartRefusal{"NoQsosPerCard",
                     [](LabelRun& run, LabelRequest&) { run.config.QsosPerCard = 0; },
                     [](const TNazwyJezykowe& t) { return t.MsgBadQsosPerCard; }},
        StartRefusal{"MoreQsosThanTheLabelHolds",
                     [](LabelRun& run, LabelRequest&) { run.config.QsosPerCard = 12; },
                     [](const TNazwyJezykowe& t) {
                         return t.SheetRefused + "LABEL_SHEETS/L7160.sheet\r" +
                                t.SheetTooSmallForTable + "44.91: LabelHeight = 38.1";
                     }},
        StartRefusal{"MissingSheetFile",
                     [](LabelRun& run, LabelRequest& r) {
                         r.SheetPath = LabelSheetPath(run.dir.path().string(), "gone.sheet");
                     },
                     [](const TNazwyJezykowe& t) {
                         return t.SheetRefused + "LABEL_SHEETS/gone.sheet\r" + t.SheetUnreadable +
                                "No such file or directory";
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the ADIF file of the QSOs sent ---

// The records of an ADIF file: each the list of its fields as NAME=value.
std::vector<std::vector<std::string>> AdifRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::size_t at = text.find("<EOH>");
    EXPECT_NE(at, std::string::npos);
    std::vector<std::string> fields;
    while ((at = text.find('<', at + 1)) != std::string::npos) {
        const std::size_t close = text.find('>', at);
        const std::string tag = text.substr(at + 1, close - at - 1);
        if (tag == "EOR") {
            records.push_back(fields);
            fields.clear();
            continue;
        }
        const std::size_t colon = tag.find(':');
        const std::size_t length = std::stoul(tag.substr(colon + 1));
        fields.push_back(tag.substr(0, colon) + "=" + text.substr(close + 1, length));
        at = close + length;  // values may hold "<"
    }
    return records;
}

TEST(MarkSentFile, HoldsEveryPrintedQsoWithItsFieldsAndTheThreeQslFields) {
    LabelRun run;
    std::tm noon{};
    noon.tm_year = 2024 - 1900;
    noon.tm_mon = 6;
    noon.tm_mday = 14;
    noon.tm_hour = 12;
    run.values.FixedToday = timegm(&noon);
    const std::string log =
        LogOf({Adif({{"CALL", kA},
                     {"QSO_DATE", "20240105"},
                     {"QSO_NUM", "0777"},
                     {"QSL_SENT", "N"},
                     {"COMMENT", "\xA3\xF3\x64\x9F <tnx>"},
                     {"MY_OWN_FIELD", "x y"}}),
               Adif({{"CALL", kB}, {"QSO_DATE", "20240106"}, {"QSL_VIA", "DIRECT"}}),
               Adif({{"CALL", kA}, {"QSO_DATE", "20240107"}, {"QSLSDATE", "19990101"}})});
    const auto job = run.Prepare(log);
    ASSERT_TRUE(job);
    // The labels first: the file lists the QSOs in the order they were printed.
    std::vector<std::int32_t> printed;
    for (const LabelContent& label : run.Labels(*job))
        printed.insert(printed.end(), label.QsoNumbers.begin(), label.QsoNumbers.end());
    ASSERT_EQ(printed, (std::vector<std::int32_t>{3, 1, 2}));

    const std::string path = run.dir.file("out/sent.adi");
    EXPECT_EQ(WriteMarkSentFile(path, run.objects), 3);
    const auto records = AdifRecords(TempDir::read(path));
    using Fields = std::vector<std::string>;
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], (Fields{"CALL=" + kA, "QSO_DATE=20240107", "QSL_SENT=Y",
                                  "QSLSDATE=20240714", "QSL_SENT_VIA=B"}));
    EXPECT_EQ(records[1],
              (Fields{"CALL=" + kA, "QSO_DATE=20240105", "COMMENT=\xA3\xF3\x64\x9F <tnx>",
                      "MY_OWN_FIELD=x y", "QSL_SENT=Y", "QSLSDATE=20240714", "QSL_SENT_VIA=B"}));
    EXPECT_EQ(records[2], (Fields{"CALL=" + kB, "QSO_DATE=20240106", "QSL_VIA=DIRECT", "QSL_SENT=Y",
                                  "QSLSDATE=20240714", "QSL_SENT_VIA=D"}));
}

// With UTF-8 output the file is UTF-8 too, its lengths in bytes.
TEST(MarkSentFile, FollowsTheOutputEncoding) {
    LabelRun run;
    run.config.OutputEncoding = OutputEncoding::Utf8;
    const auto job = run.Prepare(
        LogOf({Adif({{"CALL", kA}, {"QSO_DATE", "20240105"}, {"NAME", "\xA3\xF3\x64\x9F"}})}));
    ASSERT_TRUE(job);
    const std::string path = run.dir.file("out/sent.adi");
    EXPECT_EQ(WriteMarkSentFile(path, run.objects), 1);
    EXPECT_NE(TempDir::read(path).find("<NAME:7>\xC5\x81\xC3\xB3"
                                       "d"
                                       "\xC5\xBA <"),
              std::string::npos);
}

TEST(MarkSentFile, DateOfSendingIsTheUtcDay) {
    EXPECT_EQ(AdifDateOf(0), "19700101");
    EXPECT_EQ(AdifDateOf(1720915200 + 86399), "20240714");
}

}  // namespace
}  // namespace velmark::testing
