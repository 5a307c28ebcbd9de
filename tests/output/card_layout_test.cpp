#include "output/card_layout.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace velmark {
namespace {

struct CardCase {
    int qsosPerCard;
    std::string stations;  // one letter per QSO in output order (a letter is a CallKey)
    std::string records;   // the records written, cards separated by "|", "-" a filler
};

// Runs the layout over the stations and draws the records it asks for.
std::string layOut(int qsosPerCard, const std::string& stations, int* cardCount) {
    CardLayout layout(qsosPerCard);
    std::string records;
    *cardCount = 0;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        records += stations[i];
        const bool same = i + 1 < stations.size() && stations[i + 1] == stations[i];
        const CardStep step = layout.AfterQso(same);
        records.append(static_cast<std::size_t>(step.FillerRecords), '-');
        if (step.CardComplete) {
            ++*cardCount;
            records += '|';
        }
    }
    return records;
}

class Cards : public ::testing::TestWithParam<CardCase> {};

TEST_P(Cards, EveryCardHoldsExactlyNRecordsOfOneStation) {
    const CardCase& c = GetParam();
    int cardCount = 0;
    const std::string records = layOut(c.qsosPerCard, c.stations, &cardCount);
    EXPECT_EQ(records, c.records);
    // The report counts cards as records divided by N: that must agree with the cards made.
    const std::size_t rows = records.size() - static_cast<std::size_t>(cardCount);
    EXPECT_EQ(rows % static_cast<std::size_t>(c.qsosPerCard), 0u);
    EXPECT_EQ(static_cast<int>(rows) / c.qsosPerCard, cardCount);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Cards,
    ::testing::Values(CardCase{3, "AAAAB", "AAA|A--|B--|"}, CardCase{3, "AAABBB", "AAA|BBB|"},
                      CardCase{2, "AAABB", "AA|A-|BB|"}, CardCase{2, "AAAB", "AA|A-|B-|"},
                      CardCase{1, "AAAB", "A|A|A|B|"}, CardCase{4, "ABAB", "A---|B---|A---|B---|"},
                      CardCase{255, "A", "A" + std::string(254, '-') + "|"}));

TEST(Cards, NeedBetweenOneAnd255QsosPerCard) {
    EXPECT_FALSE(CardLayout::IsValidQsosPerCard(0));
    EXPECT_TRUE(CardLayout::IsValidQsosPerCard(1));
    EXPECT_TRUE(CardLayout::IsValidQsosPerCard(255));
    EXPECT_FALSE(CardLayout::IsValidQsosPerCard(256));
    EXPECT_FALSE(CardLayout::IsValidQsosPerCard(-3));
    EXPECT_THROW(CardLayout(0), std::out_of_range);
    EXPECT_THROW(CardLayout(256), std::out_of_range);
}

TEST(Cards, ASortsPrintValuesAreCheckedQsosPerCardFirst) {
    const struct {
        std::int32_t qsosPerCard;
        bool divided;
        std::int32_t cardsPerPart;
        PrintValueProblem expected;
    } cases[] = {
        {1, false, 0, PrintValueProblem::None},
        {255, true, 1, PrintValueProblem::None},
        {3, false, -5, PrintValueProblem::None},  // not divided: the part size is not used
        {0, false, 10, PrintValueProblem::QsosPerCard},
        {256, false, 10, PrintValueProblem::QsosPerCard},
        {-1, false, 10, PrintValueProblem::QsosPerCard},
        {0, true, 0, PrintValueProblem::QsosPerCard},
        {3, true, 0, PrintValueProblem::CardsPerPart},
        {3, true, -1, PrintValueProblem::CardsPerPart},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckSortPrintValues(c.qsosPerCard, c.divided, c.cardsPerPart), c.expected)
            << c.qsosPerCard << " per card, divided " << c.divided << " into " << c.cardsPerPart;
    }
}

}  // namespace
}  // namespace velmark
