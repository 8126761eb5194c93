#include "prefs/ui/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStorageInfo>
#include <QStringList>
#include <cerrno>

namespace farsend {

// Each operation opens the file afresh. QSettings keeps the status of its
// first failure for the rest of its life, so one long-lived object would
// report every later write as failed (or, after a load error, none at all);
// a fresh one speaks only for the operation at hand. It also picks up what
// another copy of the program wrote meanwhile. The parsed file is cached by
// Qt, so this costs little.

QtSettingsStore::QtSettingsStore()
    : fileName_(QSettings(QSettings::IniFormat, QSettings::UserScope, "Farsend98", kAppName).fileName()) {}

QtSettingsStore::QtSettingsStore(const QString& fileName) : fileName_(fileName) {}

static QString keyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + "/" + QString::fromStdString(key);
}

std::optional<std::string> QtSettingsStore::read(const std::string& section, const std::string& key) {
    QSettings settings(fileName_, QSettings::IniFormat);
    const QVariant v = settings.value(keyOf(section, key));
    if (!v.isValid()) return std::nullopt;
    // A hand-edited value with a comma in it ("a, b") parses as a list; it is
    // still one text to this program.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(", ").toStdString();
    return v.toString().toStdString();
}

// QSettings says only that the file could not be written; find out why, in
// the platform's own terms, from the state of the disk.
static int causeOfWriteFailure(const QString& fileName) {
    const QFileInfo file(fileName);
    if (file.isDir()) return EISDIR;
    QString folder = file.absolutePath();
    while (!QFileInfo::exists(folder) && QDir(folder).cdUp()) folder = QFileInfo(folder).absolutePath();
    const QFileInfo existing(folder);
    if (!existing.isDir()) return ENOTDIR;
    const QStorageInfo volume(folder);
    if (volume.isValid() && volume.isReadOnly()) return EROFS;
    if (volume.isValid() && volume.bytesAvailable() == 0) return ENOSPC;
    if (!existing.isWritable() || (file.exists() && !file.isWritable())) return EACCES;
    return EIO;
}

Status QtSettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
    QSettings::Status status = QSettings::NoError;
    {
        QSettings settings(fileName_, QSettings::IniFormat);
        settings.setValue(keyOf(section, key), QString::fromStdString(value));
        settings.sync();
        status = settings.status();
    }
    bool written = status == QSettings::NoError;
    if (status == QSettings::FormatError) {
        // The file was no INI file. The writer reports that from then on,
        // though its write may well have replaced the file: the write
        // succeeded when the file, read afresh, is clean and holds the value.
        const QSettings check(fileName_, QSettings::IniFormat);
        written =
            check.status() == QSettings::NoError && check.value(keyOf(section, key)) == QString::fromStdString(value);
    }
    if (written) return {};
    return Error::fromErrno(causeOfWriteFailure(fileName_));
}

std::string QtSettingsStore::location() const { return fileName_.toStdString(); }

}  // namespace farsend
