#include "ui/controls/folder_list_box.h"

#include "core/path_text.h"
#include "ui/controls/utf8_text.h"

#include <QByteArray>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace ui {

namespace {

constexpr int PathRole = Qt::UserRole;

QTreeWidgetItem* makeItem(const QString& text, const std::string& path, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, PathRole, QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    item->setIcon(0, icon);
    return item;
}

} // namespace

FolderListBox::FolderListBox(platform::Platform& fs, QWidget* parent)
    : QTreeWidget(parent), m_fs(fs) {
    setAccessibleName(QStringLiteral("Ordner"));
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { openItem(item); });
    const std::string start = m_fs.currentFolder(m_fs.currentDrive());
    if (auto canonical = m_fs.canonicalPath(start))
        m_path = std::move(*canonical);
    rebuild();
}

std::string FolderListBox::path() const {
    return m_path;
}

bool FolderListBox::setPath(std::string_view path) {
    if (path.empty())
        return false;
    std::string target(path);
    if (const char letter = core::isDriveText(path) ? core::driveLetterOf(path) : 0) {
        target = m_fs.currentFolder(letter);
        if (target.empty())
            return false;
    }
    if (!m_fs.resolveFolder(target))
        return false;
    auto canonical = m_fs.canonicalPath(target);
    if (!canonical)
        return false;
    if (*canonical == m_path)
        return true;
    m_path = std::move(*canonical);
    rebuild();
    emit changed();
    return true;
}

void FolderListBox::refresh() {
    // A folder on the path may have been removed or renamed meanwhile; the nearest folder
    // that is still there takes its place.
    for (std::string p = m_path; !p.empty(); p = core::parentOf(p)) {
        if (!m_fs.resolveFolder(p))
            continue;
        auto canonical = m_fs.canonicalPath(p);
        if (!canonical)
            continue;
        if (*canonical != m_path) {
            m_path = std::move(*canonical);
            rebuild();
            emit changed();
            return;
        }
        break;
    }
    rebuild();
}

void FolderListBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        openItem(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderListBox::openItem(QTreeWidgetItem* item) {
    if (!item)
        return;
    const QByteArray bytes = item->data(0, PathRole).toByteArray();
    // A folder that went away since the tree was read: show what is there now.
    if (!setPath(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        refresh();
}

void FolderListBox::rebuild() {
    clear();
    m_folderId = {};
    // The root: "C:\" or a share's "\\server\share", which the first name follows after a "\".
    const std::string_view share = core::shareRootOf(m_path);
    if (share.empty() && m_path.size() < 3)
        return;
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The path from the drive root down, one open folder per level.
    std::string folder = share.empty() ? m_path.substr(0, 3) : std::string(share);
    QTreeWidgetItem* current = makeItem(
        ui::fromUtf8(folder), folder,
        style()->standardIcon(share.empty() ? QStyle::SP_DriveHDIcon : QStyle::SP_DriveNetIcon));
    addTopLevelItem(current);
    for (std::size_t pos = share.empty() ? 3 : share.size() + 1; pos < m_path.size();) {
        std::size_t end = m_path.find('\\', pos);
        if (end == std::string::npos)
            end = m_path.size();
        const std::string_view name = std::string_view(m_path).substr(pos, end - pos);
        folder = core::joinPath(folder, name);
        QTreeWidgetItem* child = makeItem(ui::fromUtf8(name), folder, openIcon);
        current->addChild(child);
        current = child;
        pos = end + 1;
    }

    // The current folder's subfolders, hidden ones included: the program must be able to
    // reach every folder.
    platform::Listing listing;
    if (!m_fs.listFolder(m_path, platform::ListDetail::Kind, listing)) {
        m_folderId = listing.id;
        struct Sub {
            QString text;
            std::string_view name;
        };
        std::vector<Sub> subs;
        for (const auto& e : listing.entries()) {
            const std::string_view name = listing.name(e);
            if (!e.folder || name == "." || name == "..")
                continue;
            subs.push_back({ui::fromUtf8(name), name});
        }
        std::sort(subs.begin(), subs.end(), [](const Sub& a, const Sub& b) {
            const int c = a.text.compare(b.text, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a.name < b.name;
        });
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(subs.size()));
        for (const Sub& s : subs)
            children.append(makeItem(s.text, core::joinPath(m_path, s.name), closedIcon));
        current->addChildren(children);
    }
    expandAll();
    setCurrentItem(current);
}

} // namespace ui
