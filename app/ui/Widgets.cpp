// Placeholder bodies for the destination chooser widgets. (Being written.)
#include <QFrame>

#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/FileListBox.h"
#include "app/ui/Twips.h"

namespace farsend {

DriveListBox::DriveListBox(IVolumes& volumes, QWidget* parent) : QComboBox(parent), source_(volumes) {}
std::string DriveListBox::Drive() const { return {}; }
void DriveListBox::setDrive(const std::string&) {}
void DriveListBox::reload() {}

DirListBox::DirListBox(IFileSystem& fs, IVolumes& volumes, QWidget* parent)
    : QListWidget(parent), fs_(fs), volumes_(volumes) {}
Status DirListBox::setPath(const std::string& path) {
    path_ = path;
    emit changed();
    return {};
}

FileListBox::FileListBox(IFileSystem& fs, QWidget* parent) : QWidget(parent), fs_(fs) {}
Status FileListBox::setFileName(const std::string&) { return {}; }

void etchedRule(QWidget* parent, int y) {
    auto* dark = new QFrame(parent);
    dark->setGeometry(0, twips(y), parent->width(), 1);
    dark->setStyleSheet("background: rgb(128,128,128)");
    auto* light = new QFrame(parent);
    light->setGeometry(0, twips(y) + 1, parent->width(), 1);
    light->setStyleSheet("background: rgb(224,224,224)");
}

}  // namespace farsend
