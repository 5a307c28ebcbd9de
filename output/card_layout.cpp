#include "output/card_layout.h"

#include <stdexcept>
#include <string>

namespace velmark {

bool CardLayout::IsValidQsosPerCard(std::int32_t qsosPerCard) {
    return qsosPerCard >= kMinQsosPerCard && qsosPerCard <= kMaxQsosPerCard;
}

PrintValueProblem CheckSortPrintValues(std::int32_t qsosPerCard, bool divided,
                                       std::int32_t cardsPerPart) {
    if (!CardLayout::IsValidQsosPerCard(qsosPerCard)) {
        return PrintValueProblem::QsosPerCard;
    }
    if (divided && cardsPerPart < 1) {
        return PrintValueProblem::CardsPerPart;
    }
    return PrintValueProblem::None;
}

CardLayout::CardLayout(std::int32_t qsosPerCard) : m_qsosPerCard(qsosPerCard) {
    if (!IsValidQsosPerCard(qsosPerCard)) {
        throw std::out_of_range("QSOs per card " + std::to_string(qsosPerCard) + " outside 1..255");
    }
}

CardStep CardLayout::AfterQso(bool nextHasSameCallKey) {
    ++m_cardFill;
    CardStep step;
    if (m_cardFill == m_qsosPerCard) {
        // A full card is complete even when the station has more QSOs: they start a new card.
        step.CardComplete = true;
    } else if (!nextHasSameCallKey) {
        step.FillerRecords = m_qsosPerCard - m_cardFill;
        step.CardComplete = true;
    }
    if (step.CardComplete) {
        m_cardFill = 0;
    }
    return step;
}

}  // namespace velmark
