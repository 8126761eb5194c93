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

    std::string FileName() const { return name_; }
    std::string folder() const { return folder_; }
    // Points the list at path's folder and selects the item; fails, keeping
    // the previous state, when the item cannot be found there.
    Status setFileName(const std::string& path);

private:
    IFileSystem& fs_;
    std::string folder_;
    std::string name_;
};

}  // namespace farsend
