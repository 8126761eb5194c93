#pragma once
// The folder list: the chain of folders from the volume's root down to the
// current folder, then the current folder's subfolders. A double click
// enters a folder, a single click only highlights it; every change of
// Path() emits changed().

#include <QListWidget>
#include <map>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "platform/Volumes.h"

namespace farsend {

class DirListBox : public QListWidget {
    Q_OBJECT
public:
    DirListBox(IFileSystem& fs, IVolumes& volumes, QWidget* parent = nullptr);

    std::string Path() const { return path_; }
    // Makes path the current folder. A bare drive designation moves to that
    // drive's remembered current folder. Fails, leaving the list as it was,
    // when the folder cannot be read.
    Status setPath(const std::string& path);

signals:
    void changed();

private:
    IFileSystem& fs_;
    IVolumes& volumes_;
    std::string path_;
    std::map<std::string, std::string> currentOfVolume_;
};

}  // namespace farsend
