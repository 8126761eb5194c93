#include "app/ui/DirListBox.h"

#include <QApplication>
#include <QCollator>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cerrno>

#include "app/Chooser.h"
#include "platform/Paths.h"

namespace farsend {

namespace {

constexpr int kPathRole = Qt::UserRole;       // the folder, as bytes
constexpr int kDepthRole = Qt::UserRole + 1;  // indentation level
constexpr int kIndent = 8;                    // pixels per level

// Indents each row by its depth, so the chain reads as a path and the
// subfolders stand one step below the current folder.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + kIndent * index.data(kDepthRole).toInt());
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.rwidth() += kIndent * index.data(kDepthRole).toInt();
        // Rows as tight as the list of the original design: five in view.
        // Some fonts carry a generous line gap; the inked height decides.
        const int ink = option.fontMetrics.tightBoundingRect("Agjy").height();
        s.setHeight(std::max(option.decorationSize.height(), ink) + 2);
        return s;
    }
};

QString shown(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

DirListBox::DirListBox(IFileSystem& fs, IVolumes& volumes, QWidget* parent)
    : QListWidget(parent), fs_(fs), volumes_(volumes) {
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { enter(row(item)); });
    // The list begins in the process's current folder, so that a start folder
    // that cannot be set leaves it there. Nobody listens yet.
    if (auto cwd = fs_.currentDir()) (void)setPath(*cwd);
}

std::string DirListBox::currentFolderOf(const std::string& designation) {
    const std::string mount = mountPointOf(volumes_.volumes(), designation);
    auto it = currentOfVolume_.find(mount);
    if (it == currentOfVolume_.end()) return mount;
    // A remembered folder that has since been removed would lock the user
    // out of the drive for the rest of the run: its root takes its place.
    const auto info = fs_.stat(it->second);
    if (!info && (info.error().number == ENOENT || info.error().number == ENOTDIR)) return mount;
    return it->second;
}

Status DirListBox::setPath(const std::string& path) {
    if (path.empty()) return Error::fromErrno(ENOENT);
    const std::vector<Volume> volumes = volumes_.volumes();

    std::string target;
    for (const Volume& v : volumes) {
        if (v.label.empty()) continue;  // then the designation is the mount point, a folder like any other
        if (path == v.designation())
            target = currentFolderOf(v.mountPoint);
        else if (path == v.designation() + kSep)
            target = v.mountPoint;
    }
    if (target.empty()) {
        std::string base;
        if (path.front() != kSep) {
            auto cwd = fs_.currentDir();
            if (!cwd) return cwd.error();
            base = *cwd;
        }
        target = normalizedFolder(path, base);
    }
    if (target == path_) return {};

    auto subfolders = subfoldersOf(target);
    if (!subfolders) return subfolders.error();

    path_ = target;
    const auto volume = volumeOf(volumes, path_);
    if (volume) currentOfVolume_[volume->mountPoint] = path_;
    fill(volume ? volume->mountPoint : std::string(1, kSep), *subfolders);
    emit changed();
    return {};
}

Result<std::vector<std::string>> DirListBox::subfoldersOf(const std::string& folder) {
    const std::string prefix = withTrailingSep(folder);
    // Links to folders carry the system bit; hidden (dot) folders stay out
    // of the way, as the desktop's own file dialogs keep them.
    auto names = fs_.list(prefix + "*", attr::Directory | attr::System);
    if (!names) return names.error();
    std::vector<std::string> folders;
    for (const std::string& name : *names) {
        auto info = fs_.stat(prefix + name);
        if (info && (info->kind == EntryKind::Directory || info->kind == EntryKind::DirectoryLink))
            folders.push_back(name);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(folders.begin(), folders.end(), [&collator](const std::string& a, const std::string& b) {
        return collator.compare(shown(a), shown(b)) < 0;
    });
    return folders;
}

void DirListBox::fill(const std::string& root, const std::vector<std::string>& subfolders) {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [this](const QIcon& icon, const std::string& text, const std::string& folder, int depth) {
        auto* item = new QListWidgetItem(icon, shown(text), this);
        item->setData(kPathRole, QByteArray::fromStdString(folder));
        item->setData(kDepthRole, depth);
        return item;
    };
    const std::vector<std::string> chain = folderChain(root, path_);
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const std::string& folder : chain) {
        current = add(open, depth == 0 ? folder : GetFileName(folder), folder, depth);
        ++depth;
    }
    for (const std::string& name : subfolders) add(closed, name, withTrailingSep(path_) + name, depth);
    setCurrentItem(current);
    scrollToItem(current);
}

std::string DirListBox::folderAt(int r) const {
    const QListWidgetItem* it = item(r);
    return it != nullptr ? it->data(kPathRole).toByteArray().toStdString() : std::string();
}

int DirListBox::rowOf(const std::string& folder) const {
    for (int r = 0; r < count(); ++r)
        if (folderAt(r) == folder) return r;
    return -1;
}

void DirListBox::enter(int r) {
    const std::string folder = folderAt(r);
    if (folder.empty()) return;
    if (!setPath(folder)) QApplication::beep();  // unreadable: stay where we are
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
    // Enter opens the highlighted folder rather than reaching the window's
    // default button: a transfer must not start into a folder the user is
    // only passing through.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enter(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace farsend
