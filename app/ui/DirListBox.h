#pragma once
// The folder list: the chain of folders from the volume's root down to the
// current folder, then the current folder's subfolders. A double click (or
// Enter) enters a folder, a single click only highlights it; every change of
// Path() emits changed().

#include <QListWidget>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "platform/Volumes.h"

namespace farsend {

class DirListBox : public QListWidget {
    Q_OBJECT
public:
    DirListBox(IFileSystem& fs, IVolumes& volumes, QWidget* parent = nullptr);

    // The current folder: absolute, no trailing separator except for "/".
    // At first the process's current folder; empty only when that cannot be
    // listed, until a folder has been set.
    std::string Path() const { return path_; }

    // Makes path the current folder; a relative path is taken from the
    // process's current folder. A drive designation with its label moves to
    // that drive's current folder, the designation followed by a separator
    // to the drive's root. Setting the folder already shown changes nothing
    // and emits nothing. Fails, leaving the list as it was, when the folder
    // cannot be listed.
    Status setPath(const std::string& path);

    // The current folder of the drive that a designation (or mount point)
    // names: the last folder shown on it, at first its mount point.
    std::string currentFolderOf(const std::string& designation);

    // The folder that row stands for; empty for a row that does not exist.
    std::string folderAt(int row) const;
    // The row that shows folder, or -1.
    int rowOf(const std::string& folder) const;

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Result<std::vector<std::string>> subfoldersOf(const std::string& folder);
    void fill(const std::string& root, const std::vector<std::string>& subfolders);
    void enter(int row);

    IFileSystem& fs_;
    IVolumes& volumes_;
    std::string path_;
    std::map<std::string, std::string> currentOfVolume_;
};

}  // namespace farsend
