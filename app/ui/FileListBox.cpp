#include "app/ui/FileListBox.h"

#include <algorithm>

#include "platform/Paths.h"

namespace farsend {

FileListBox::FileListBox(IFileSystem& fs, QWidget* parent) : QWidget(parent), fs_(fs) {}

Status FileListBox::setFileName(const std::string& path) {
    const std::string folder = GetDirPath(path);
    const std::string name = GetFileName(path);
    constexpr std::uint8_t files = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
    // A name with "*" or "?" would be taken as a pattern: look for it among
    // all the folder's files instead.
    auto found = fs_.list(folder + (hasWildcards(name) ? std::string("*") : name), files);
    if (!found) return found.error();
    const bool held = !name.empty() && std::find(found->begin(), found->end(), name) != found->end();
    folder_ = folder;
    name_ = held ? name : std::string();
    return {};
}

}  // namespace farsend
