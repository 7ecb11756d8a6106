#pragma once

#include "core/entry_list.h"

#include <QAbstractListModel>

namespace ui {

// The result list's entries for a list view. The entries stay records; a row's text is made
// only when the view draws it, so a million entries cost no extra memory.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces all entries at once (one reset, no per-row signals).
    void setEntries(core::EntryList&& entries);
    const core::EntryList& entries() const { return m_entries; }

private:
    core::EntryList m_entries;
};

} // namespace ui
