#include "support/ui/MainHarness.h"

#include <QSettings>
#include <QTest>

namespace farsend::test {

MainHarness::MainHarness() {
    tree.dir("config");
    store = std::make_unique<QtSettingsStore>(storeFile());
}

MainHarness::~MainHarness() {
    window_.reset();
}

QString MainHarness::storeFile() const { return QString::fromStdString(tree.path("config/VA30.ini")); }

std::optional<std::string> MainHarness::stored(const std::string& section, const std::string& key) const {
    QSettings s(storeFile(), QSettings::IniFormat);
    const QVariant v = s.value(QString::fromStdString(section + "/" + key));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void MainHarness::preset(const std::string& section, const std::string& key, const std::string& value) {
    (void)store->write(section, key, value);
}

farsend::frmFSMain& MainHarness::create(std::vector<std::string> args) {
    Services s;
    s.fs = &fs;
    s.volumes = fakeVolumes ? static_cast<IVolumes*>(&*fakeVolumes) : &realVolumes;
    s.store = store.get();
    s.prompts = &prompts;
    s.args = std::move(args);
    s.endNow = [this](int code) { endedWith = code; };
    s.openUrl = [this](const std::string& url) {
        openedUrls.push_back(url);
        return openUrlResult;
    };
    window_ = std::make_unique<farsend::frmFSMain>(std::move(s));
    return *window_;
}

bool MainHarness::start(std::vector<std::string> args) {
    create(std::move(args));
    if (!window_->Form_Load()) {
        window_->Form_Unload();
        return false;
    }
    window_->show();
    (void)QTest::qWaitForWindowExposed(window_.get());
    return true;
}

}  // namespace farsend::test
