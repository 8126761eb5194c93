#include "prefs/ui/QtSettingsStore.h"

#include <cerrno>

namespace farsend {

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Farsend98", kAppName)) {}

QtSettingsStore::QtSettingsStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

static QString keyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + "/" + QString::fromStdString(key);
}

std::optional<std::string> QtSettingsStore::read(const std::string& section, const std::string& key) {
    // Another copy of the program may have written since we last looked.
    settings_->sync();
    const QVariant v = settings_->value(keyOf(section, key));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

Status QtSettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
    settings_->setValue(keyOf(section, key), QString::fromStdString(value));
    settings_->sync();
    if (settings_->status() == QSettings::AccessError) return Error::fromErrno(EACCES);
    if (settings_->status() == QSettings::FormatError) return Error::fromErrno(EINVAL);
    return {};
}

std::string QtSettingsStore::location() const { return settings_->fileName().toStdString(); }

}  // namespace farsend
