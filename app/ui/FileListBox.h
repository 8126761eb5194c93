#pragma once
// The hidden name-lookup list: given a full path it points at the path's
// folder and selects the named item; FileName() then gives the bare name.

#include <QWidget>
#include <string>

#include "platform/FileSystem.h"

namespace farsend {

class FileListBox : public QWidget {
    Q_OBJECT
public:
    explicit FileListBox(IFileSystem& fs, QWidget* parent = nullptr);

    // The selected item's name; empty when nothing is selected.
    std::string FileName() const { return name_; }
    // The folder the list points at, as the last path gave it.
    std::string folder() const { return folder_; }

    // Points the list at path's folder and selects the item of that name
    // among the folder's files (hidden and system ones included). A name
    // the list does not hold (a folder, an item that is gone) leaves
    // nothing selected. Fails, keeping the previous state, when the folder
    // cannot be read.
    Status setFileName(const std::string& path);

private:
    IFileSystem& fs_;
    std::string folder_;
    std::string name_;
};

}  // namespace farsend
