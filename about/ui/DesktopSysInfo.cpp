#include "about/ui/DesktopSysInfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

namespace farsend {

const DesktopSysInfoProgram kDesktopSysInfoPrograms[5] = {
    {"KDE", "/usr/bin/kinfocenter"},
    {"XFCE", "/usr/bin/xfce4-about"},
    {"GNOME", "/usr/bin/gnome-system-monitor"},
    {"MATE", "/usr/bin/mate-system-monitor"},
    {"LXQt", "/usr/bin/lxqt-about"},
};

static bool isProgram(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

bool DesktopSysInfo::GetKeyValue(SysInfoKey key, std::string& KeyVal) {
    KeyVal.clear();
    if (key == SysInfoKey::ToolPath) {
        const QString chosen = qEnvironmentVariable("FARSEND_SYSINFO");
        if (!chosen.isEmpty()) {
            KeyVal = chosen.toStdString();
            return true;
        }
        const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts);
        for (const QString& desktop : desktops) {
            for (const DesktopSysInfoProgram& p : kDesktopSysInfoPrograms) {
                if (desktop.compare(p.desktop, Qt::CaseInsensitive) == 0 && isProgram(p.path)) {
                    KeyVal = p.path;
                    return true;
                }
            }
        }
        return false;
    }
    const QString folder = qEnvironmentVariable("FARSEND_SYSINFO_DIR");
    KeyVal = folder.isEmpty() ? std::string("/usr/bin") : folder.toStdString();
    return true;
}

bool DesktopSysInfo::startProgram(const std::string& path) {
    const QString program = QString::fromStdString(path);
    if (!isProgram(program)) return false;
    return QProcess::startDetached(program, {});
}

}  // namespace farsend
