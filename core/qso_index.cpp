#include "core/qso_index.h"

#include <stdexcept>
#include <string>

namespace velmark {

QsoIndex::QsoIndex() = default;

IndexLocation QsoIndex::Locate(int position) {
    if (position < 1 || position > kMaxQsos) {
        throw std::out_of_range("QSO index position " + std::to_string(position) + " outside 1.." +
                                std::to_string(kMaxQsos));
    }
    return {(position - 1) / kIndexPageSize + 1, (position - 1) % kIndexPageSize + 1};
}

QsoIndex::Page& QsoIndex::page(int pageNumber) const {
    std::unique_ptr<Page>& slot = m_pages[static_cast<std::size_t>(pageNumber - 1)];
    if (!slot) {
        slot = std::make_unique<Page>();  // a page is allocated when first touched
    }
    return *slot;
}

QsoIndexEntry& QsoIndex::At(int position) {
    const IndexLocation location = Locate(position);
    return page(location.Page)[static_cast<std::size_t>(location.Place - 1)];
}

const QsoIndexEntry& QsoIndex::At(int position) const {
    const IndexLocation location = Locate(position);
    return page(location.Page)[static_cast<std::size_t>(location.Place - 1)];
}

QsoIndexEntry QsoIndex::GetIndexEntry(int position, IndexLocation* location) const {
    const IndexLocation where = Locate(position);
    if (location != nullptr) {
        *location = where;
    }
    return page(where.Page)[static_cast<std::size_t>(where.Place - 1)];
}

void QsoIndex::Clear() {
    for (std::unique_ptr<Page>& slot : m_pages) {
        slot.reset();
    }
}

}  // namespace velmark
