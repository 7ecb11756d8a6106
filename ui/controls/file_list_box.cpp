#include "ui/controls/file_list_box.h"

#include "ui/controls/utf8_text.h"

#include <QByteArray>
#include <algorithm>
#include <vector>

namespace ui {

namespace {

// The item data role that holds a name's exact bytes; the shown text may be lossy.
constexpr int NameRole = Qt::UserRole;

std::string nameOf(const QListWidgetItem* item) {
    if (!item)
        return {};
    const QByteArray bytes = item->data(NameRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

FileListBox::FileListBox(platform::Platform& fs, QWidget* parent) : QListWidget(parent), m_fs(fs) {
    setAccessibleName(QStringLiteral("Dateien"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // One height for every row, so that a folder of many thousand files lists without
    // measuring each of them.
    setUniformItemSizes(true);
}

void FileListBox::setPath(std::string_view path) {
    auto canonical = m_fs.canonicalPath(path);
    std::string next = canonical ? std::move(*canonical) : std::string(path);
    if (next != m_path) {
        m_path = std::move(next);
        clear();
    }
    refresh();
}

void FileListBox::setShowHidden(bool show) {
    m_showHidden = show;
}

void FileListBox::setShowSystem(bool show) {
    m_showSystem = show;
}

void FileListBox::setShowReadOnly(bool show) {
    m_showReadOnly = show;
}

void FileListBox::refresh() {
    const std::string selected = fileName();
    clear();

    std::uint32_t hiddenMask = 0;
    if (!m_showHidden)
        hiddenMask |= platform::Hidden;
    if (!m_showSystem)
        hiddenMask |= platform::System;
    if (!m_showReadOnly)
        hiddenMask |= platform::ReadOnly;
    // Reading every file's attributes costs far more than the listing itself; when every
    // kind of file is shown, nobody needs them.
    const auto detail =
        hiddenMask != 0 ? platform::ListDetail::Attributes : platform::ListDetail::Kind;
    platform::Listing listing;
    if (m_path.empty() || m_fs.listFolder(m_path, detail, listing))
        return;

    struct File {
        QString text;
        std::string_view name;
    };
    std::vector<File> files;
    files.reserve(listing.size());
    for (const auto& e : listing.entries()) {
        if (e.folder || (e.attributes & hiddenMask) != 0)
            continue;
        const std::string_view name = listing.name(e);
        files.push_back({ui::fromUtf8(name), name});
    }
    std::sort(files.begin(), files.end(), [](const File& a, const File& b) {
        const int c = a.text.compare(b.text, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });

    int selectedRow = -1;
    setUpdatesEnabled(false);
    for (const File& f : files) {
        auto* item = new QListWidgetItem(f.text);
        item->setData(NameRole, QByteArray(f.name.data(), static_cast<qsizetype>(f.name.size())));
        addItem(item);
        if (!selected.empty() && f.name == selected)
            selectedRow = count() - 1;
    }
    setUpdatesEnabled(true);
    // The file chosen before stays chosen when it is still listed.
    if (selectedRow >= 0)
        setCurrentRow(selectedRow);
}

std::string FileListBox::fileName() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? std::string() : nameOf(items.front());
}

std::string FileListBox::entryName(int i) const {
    return nameOf(item(i));
}

bool FileListBox::isSelected(int i) const {
    const QListWidgetItem* it = item(i);
    return it && it->isSelected();
}

} // namespace ui
