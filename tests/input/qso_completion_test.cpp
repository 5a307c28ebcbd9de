#include "input/qso_completion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tym_log.h"
#include "tests/input/input_run_fixture.h"

namespace velmark {
namespace {

constexpr int kBandKind = 8;
constexpr int kModeKind = 42;

TEST(NormaliseQslVia, KeepsOnlyTheRouteWords) {
    struct Case {
        const char* via;
        const char* normal;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"   ", ""},
        {"via Q1MGR", " Q1MGR"},
        {"QSL VIA Q1MGR MGR", " Q1MGR"},
        {"direct", "DIRECT"},
        {"Direct only", "DIRECT"},
        {"DIRECT Q1MGR", "DIRECT Q1MGR"},
        {"q1mgr  direct", "DIRECT Q1MGR"},
        {"BURO", ""},
        {"VIA BUREAU", ""},
        {"Q1MGR Q2MGR", " Q2MGR"},
        {"Q1MGR via buro", " Q1MGR"},
        {"9A", ""},
        {"Q9Q", " Q9Q"},
        {"Q0ZZ", " Q0ZZ"},
        {"Q1ABCDEFGHIJKLMNOP", " Q1ABCDEFGHIJKLMN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.via);
        const QslViaNormalisation result = NormaliseQslVia(c.via);
        EXPECT_FALSE(result.Conflict);
        EXPECT_EQ(result.Text, c.normal);
    }
}

TEST(NormaliseQslVia, BureauAndDirectTogetherNeedTheUser) {
    for (const char* via : {"BURO OR DIRECT", "direct or bureau", "Q1MGR DIRECT BURO"}) {
        SCOPED_TRACE(via);
        EXPECT_TRUE(NormaliseQslVia(via).Conflict);
    }
}

TEST(DateLooksValid, WholeNumbersAndTextsWithALaterSeparator) {
    struct Case {
        const char* date;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"20080105", true},     {"2008-01-05", true},  {"05.01.2008", true}, {"05/01/2008", true},
        {"12:01:2008", true},   {"12 JAN 2009", true}, {" 20080105", true},  {"-5", true},
        {"$1F", true},          {"0x1f", true},        {"X1F", true},        {"ABC", false},
        {"/0501", false},       {"", false},           {"-", false},         {"20080105 ", true},
        {"99999999999", false}, {"2008/", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(DateLooksValid(c.date), c.valid);
    }
}

class QsoCompletionTest : public ::testing::Test, public testing::InputRunFixture {
  protected:
    QsoCompletionTest() {
        values.InputFileName = "/logs/test.adi";
        processing.InputTymLog = std::make_unique<TymLog>(dir.file(kTymLogName));
        processing.InputTymLog->CreateEmpty();
    }

    // Fills the current record as a reader would and completes it as QSO number `number`.
    bool complete(std::int32_t number, const std::string& call, const std::string& via,
                  const std::string& date = "20080105") {
        QsoRecord& record = processing.InputRecord;
        record.Clear();
        record.SetSlot(kCallKind, call);
        record.SetSlot(kQslViaKind, via);
        record.SetSlot(kQsoDateKind, date);
        record.SetSlot(kBandKind, "20M");
        record.SetSlot(kModeKind, "CW");
        return CompleteQso(objects, number);
    }

    QsoRecord storedRecord(std::int32_t qsoNr) {
        return processing.InputTymLog->ReadByQsoNr(qsoNr);
    }
};

TEST_F(QsoCompletionTest, RouteDecidesTheEntityOfRecordAndIndexEntry) {
    struct Case {
        const char* call;
        const char* via;
        const char* storedVia;
        std::int32_t adifNr;
        std::int32_t listNr;
    };
    const std::vector<Case> cases = {
        {"Q2BBB", "via Q1MGR", "Q1MGR", testing::kAlphaAdif, testing::kAlphaListNr},
        {"Q2BBB", "direct", "DIRECT", kEntityDirect, kEntityDirect},
        {"Q2BBB", "DIRECT Q1MGR", "DIRECT Q1MGR", kEntityDirect, kEntityDirect},
        {"Q1AAA", "BURO", "", testing::kAlphaAdif, testing::kAlphaListNr},
        {"Q2BBB", "VIA BUREAU", "", testing::kBetaAdif, testing::kBetaListNr},
        {"Q1AAA", "Q1MGR Q2MGR", "Q2MGR", testing::kBetaAdif, testing::kBetaListNr},
        {"Q2BBB", "QSL VIA 9A", "", testing::kBetaAdif, testing::kBetaListNr},
        {"Q1AAA", "X9X", "X9X", kEntityUnknown, kEntityUnknown},
        {"X1AAA", "", "", kEntityUnknown, kEntityUnknown},
        {"", "", "", kEntityNoCallsign, kEntityNoCallsign},
        {"Q2ABCDEFGH/P", "  DIRECT  ", "DIRECT", kEntityDirect, kEntityDirect},
        {"q1aaa", "", "", testing::kAlphaAdif, testing::kAlphaListNr},
        {"q1aaa", "via q2mgr", "Q2MGR", testing::kBetaAdif, testing::kBetaListNr},
    };
    std::int32_t number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " via " + c.via);
        ASSERT_TRUE(complete(++number, c.call, c.via));
        const QsoRecord stored = storedRecord(number);
        EXPECT_EQ(stored.QsoNr, number);
        EXPECT_EQ(stored.Slot(kCallKind), c.call);
        EXPECT_EQ(stored.Slot(kQslViaKind), c.storedVia);
        EXPECT_EQ(stored.EntityAdifNr, c.adifNr);
        EXPECT_EQ(stored.EntityListNr, c.listNr);
        const QsoIndexEntry& entry = State().Index.At(number);
        EXPECT_EQ(entry.CallKey.view(), std::string(c.call).substr(0, 7));
        EXPECT_EQ(entry.ViaKey.view(), std::string(c.storedVia).substr(0, 14));
        EXPECT_EQ(entry.EntityAdifNr, c.adifNr);
        EXPECT_EQ(entry.EntityListNr, c.listNr);
        EXPECT_EQ(entry.QsoNr, number);
    }
    EXPECT_EQ(State().UnknownCalls, "X9X,X1AAA,");
    EXPECT_EQ(processing.InputTymLog->SizeInBytes(),
              static_cast<std::int64_t>(cases.size() * QsoRecord::kSize));
}

TEST_F(QsoCompletionTest, FoundEntityGivesItsListLine) {
    ASSERT_TRUE(complete(1, "Q2BBB", ""));
    const QsoRecord stored = storedRecord(1);
    const ListLine& line = list->ListLineTable[static_cast<std::size_t>(stored.EntityLine)];
    EXPECT_EQ(line.AdifNr, testing::kBetaAdif);
}

TEST_F(QsoCompletionTest, UnknownCallsListsEveryUnknownRouteInOrder) {
    complete(1, "X1AAA", "");
    complete(2, "Q1AAA", "");
    complete(3, "Q1AAA", "X2MGR");
    complete(4, "X1AAA", "");
    EXPECT_EQ(State().UnknownCalls, "X1AAA,X2MGR,X1AAA,");
}

TEST_F(QsoCompletionTest, ConflictingRouteIsAskedAndTheAnswerTakenInCapitals) {
    ui.inputAnswers = {"direct"};
    ASSERT_TRUE(complete(1, "Q2BBB", "BURO OR DIRECT"));
    ASSERT_EQ(ui.inputPrompts.size(), 1u);
    EXPECT_EQ(ui.inputPrompts[0], texts.MsgQslViaForQso + "\rQ2BBB 20080105 20M CW\r" +
                                      texts.MsgQslViaConflict + "\r" + texts.MsgEnterQslViaAgain +
                                      "\r" + texts.MsgQslViaValues);
    EXPECT_EQ(storedRecord(1).Slot(kQslViaKind), "DIRECT");
    EXPECT_EQ(storedRecord(1).EntityAdifNr, kEntityDirect);

    ui.inputAnswers = {testing::ScriptedUserInterface::kCancel};
    ASSERT_TRUE(complete(2, "Q2BBB", "buro or direct"));
    EXPECT_EQ(storedRecord(2).Slot(kQslViaKind), "BURO OR DIRECT");
}

TEST_F(QsoCompletionTest, UnusableDateIsReportedAndTheQsoLeftOut) {
    ASSERT_TRUE(complete(1, "Q1AAA", ""));
    EXPECT_FALSE(complete(2, "Q2BBB", "", "ABC"));
    EXPECT_FALSE(complete(3, "Q2CCC", "", ""));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{
                               "QSO Q2BBB ON BAND 20MData Error in Line  =   2 Field = ABC",
                               "File with data /logs/test.adi",
                               "QSO Q2CCC ON BAND 20MData Error in Line  =   3 Field = ",
                               "File with data /logs/test.adi"}));
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(processing.InputTymLog->SizeInBytes(), static_cast<std::int64_t>(QsoRecord::kSize));
    EXPECT_EQ(State().Index.At(2).QsoNr, 0);
}

TEST_F(QsoCompletionTest, UnknownDateFormatIsAskedOnceAtTheFirstUsableDate) {
    config.InputDateFormat = 0;
    ui.inputAnswers = {"yyyymmdd", "DD-MM-YYYY"};
    EXPECT_FALSE(complete(1, "Q1AAA", "", "?"));
    EXPECT_TRUE(complete(2, "Q1AAA", "", "05-01-2008"));
    EXPECT_TRUE(complete(3, "Q2BBB", "", "06-01-2008"));

    const std::string prompt =
        "First rekord source file contain QSO\rQ1AAA  20M  CW  dated  05-01-2008\r"
        "I put introduction format  YYYYMMDD ";
    EXPECT_EQ(ui.inputPrompts, (std::vector<std::string>{prompt, prompt}));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(config.InputDateFormat, 4);
    EXPECT_EQ(ui.inputDateFormatChanges, (std::vector<int>{1, 4}));
    TKonfiguracja stored;
    ConfigRead(stored, objects.SetupIniPath);
    EXPECT_EQ(stored.InputDateFormat, 4);
}

TEST_F(QsoCompletionTest, CancelledDateFormatQuestionTakesYyyymmdd) {
    config.InputDateFormat = 0;
    ui.inputAnswers = {testing::ScriptedUserInterface::kCancel};
    EXPECT_TRUE(complete(1, "Q1AAA", ""));
    EXPECT_EQ(config.InputDateFormat, 1);
}

}  // namespace
}  // namespace velmark
