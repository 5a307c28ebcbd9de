#pragma once
// The mail-merge card layout: every QSL card takes the same number N of consecutive records.
// QSOs of one station (same CallKey) share a card until it is full; when the next QSO belongs
// to another station, or there is none, filler records complete the card. The run driver
// writes the records; this class tells it, after each QSO, how many fillers follow and whether
// a card was completed.

#include <cstdint>

namespace velmark {

// Which printing value keeps a sort from laying out its cards.
enum class PrintValueProblem {
    None,
    QsosPerCard,   // the QSOs per card lie outside 1 to 255
    CardsPerPart,  // a divided output has fewer than 1 card per part file
};

// Checks a sort's printing values before the run starts, so that a sort that cannot lay out
// its cards is refused before the user picks a log.
PrintValueProblem CheckSortPrintValues(std::int32_t qsosPerCard, bool divided,
                                       std::int32_t cardsPerPart);

// What follows one QSO record on the card.
struct CardStep {
    int FillerRecords = 0;      // filler records to write now
    bool CardComplete = false;  // the QSO (with its fillers) completed a card
};

class CardLayout {
  public:
    // Smallest and largest number of QSOs per card; the fill of a card is kept in one byte.
    static constexpr int kMinQsosPerCard = 1;
    static constexpr int kMaxQsosPerCard = 255;
    static bool IsValidQsosPerCard(std::int32_t qsosPerCard);

    // qsosPerCard must be valid (checked: std::out_of_range otherwise).
    explicit CardLayout(std::int32_t qsosPerCard);

    // Counts a QSO on the current card. nextHasSameCallKey tells whether the next QSO in output
    // order has the same CallKey (false after the last QSO).
    CardStep AfterQso(bool nextHasSameCallKey);

    int QsosPerCard() const { return m_qsosPerCard; }

  private:
    int m_qsosPerCard;
    int m_cardFill = 0;
};

}  // namespace velmark
