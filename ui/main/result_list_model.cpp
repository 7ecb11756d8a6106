#include "ui/main/result_list_model.h"

#include "ui/controls/utf8_text.h"

#include "core/result_entry.h"

#include <limits>

namespace ui {

int ResultListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    // A view counts rows in int; more entries than that stay in the list but are not drawn.
    const auto n = m_entries.size();
    return n > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(n);
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= m_entries.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return ui::fromUtf8(core::entryText(m_entries, static_cast<std::size_t>(index.row())));
}

void ResultListModel::setEntries(core::EntryList&& entries) {
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

} // namespace ui
