#include "app/ui/QtVolumes.h"

#include <QStorageInfo>
#include <algorithm>

namespace farsend {

std::vector<Volume> QtVolumes::volumes() {
    static const QList<QByteArray> pseudo = {
        "proc",        "sysfs",    "devtmpfs", "devpts",     "cgroup",    "cgroup2",  "securityfs", "pstore",
        "bpf",         "tracefs",  "debugfs",  "mqueue",     "hugetlbfs", "configfs", "fusectl",    "autofs",
        "binfmt_misc", "efivarfs", "nsfs",     "rpc_pipefs", "overlay",   "squashfs"};
    std::vector<Volume> out;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (!s.isValid()) continue;
        const QString root = s.rootPath();
        // The root file system always counts, whatever kind it is.
        if (root != "/" && pseudo.contains(s.fileSystemType())) continue;
        if (root != "/" &&
            (root.startsWith("/proc") || root.startsWith("/sys") || root.startsWith("/dev") || root.startsWith("/run")))
            continue;
        Volume v{root.toStdString(), s.name().toStdString()};
        if (std::find(out.begin(), out.end(), v) == out.end()) out.push_back(v);
    }
    std::sort(out.begin(), out.end(), [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; });
    return out;
}

}  // namespace farsend
