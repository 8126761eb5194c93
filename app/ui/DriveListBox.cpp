#include "app/ui/DriveListBox.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>
#include <cerrno>

#include "app/ui/FittedLabel.h"

namespace farsend {

QString fittedDesignation(const Volume& volume, const QFontMetrics& fm, int width) {
    const QString whole = QString::fromStdString(volume.designation());
    if (fm.horizontalAdvance(whole) <= width) return whole;
    const QString mount = QString::fromStdString(volume.mountPoint);
    const QString label = whole.mid(mount.size());  // " [label]", or nothing
    const QString shortened = shortenedInMiddle(mount, fm, width - fm.horizontalAdvance(label));
    // With no room for any of the mount point, the mark alone still says
    // that something stands before the label.
    return (shortened.isEmpty() ? QString(QChar(0x2026)) : shortened) + label;
}

DriveListBox::DriveListBox(IVolumes& volumes, QWidget* parent) : QComboBox(parent), source_(volumes) {
    std::vector<Volume> list = source_.volumes();
    // Until a folder is chosen the list stands on the volume holding "/".
    int selected = list.empty() ? -1 : 0;
    if (auto root = volumeOf(list, "/")) {
        selected = static_cast<int>(std::find(list.begin(), list.end(), *root) - list.begin());
    }
    fill(list, selected);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::onIndexChanged);
}

std::string DriveListBox::Drive() const {
    const int i = currentIndex();
    if (i < 0 || i >= static_cast<int>(volumes_.size())) return {};
    return volumes_[static_cast<std::size_t>(i)].designation();
}

Status DriveListBox::setDrive(const std::string& designation) {
    // A volume mounted since the list was last read must be found as itself:
    // matched against a stale list, a folder on it would fall to the volume
    // above it, and that drive's change would move the folder list away.
    reload();
    int index = -1;
    for (std::size_t i = 0; i < volumes_.size() && index < 0; ++i) {
        if (volumes_[i].designation() == designation || volumes_[i].mountPoint == designation)
            index = static_cast<int>(i);
    }
    if (index < 0) {
        auto v = volumeOf(volumes_, designation);
        if (!v) return Error::fromErrno(ENODEV);
        index = static_cast<int>(std::find(volumes_.begin(), volumes_.end(), *v) - volumes_.begin());
    }
    setCurrentIndex(index);  // emits through onIndexChanged when it moves
    return {};
}

void DriveListBox::reload() {
    std::vector<Volume> list = source_.volumes();
    int selected = -1;
    if (shown_ >= 0 && shown_ < static_cast<int>(volumes_.size())) {
        const Volume& current = volumes_[static_cast<std::size_t>(shown_)];
        auto it = std::find(list.begin(), list.end(), current);
        if (it == list.end()) it = list.insert(list.end(), current);
        selected = static_cast<int>(it - list.begin());
    } else if (!list.empty()) {
        selected = 0;
    }
    fill(list, selected);
}

void DriveListBox::showPopup() {
    reload();
    QComboBox::showPopup();
}

int DriveListBox::textRoom() const {
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    int room = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this).width();
    // The style puts the icon and a few pixels before the text, and keeps a
    // pixel clear at each end.
    if (!opt.currentIcon.isNull()) room -= opt.iconSize.width() + 4;
    return room - 2;
}

QString DriveListBox::shownText() const {
    const int i = currentIndex();
    if (i < 0 || i >= static_cast<int>(volumes_.size())) return currentText();
    return fittedDesignation(volumes_[static_cast<std::size_t>(i)], fontMetrics(), textRoom());
}

void DriveListBox::paintEvent(QPaintEvent* /*event*/) {
    // As the box draws itself, with the fitted text in place of the whole.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    opt.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

void DriveListBox::fill(const std::vector<Volume>& volumes, int selected) {
    const QSignalBlocker block(this);
    clear();
    volumes_ = volumes;
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const Volume& v : volumes_) addItem(icon, QString::fromStdString(v.designation()));
    setCurrentIndex(selected);
    shown_ = selected;
}

void DriveListBox::onIndexChanged(int index) {
    if (index < 0 || index == shown_) return;
    shown_ = index;
    emit changed();
}

}  // namespace farsend
