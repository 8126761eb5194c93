#include "app/ui/DisplayStart.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace farsend {

namespace {

std::string envText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The toolkit's messages while it opens the display: held back, and passed
// on only when it succeeds. A fatal one means no display could be opened.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};
std::vector<HeldMessage> held;
QtMessageHandler passOn = nullptr;
std::string failureLine;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(failureLine.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(kNoDisplayExit);
    }
    held.push_back({type, context.file, context.function, context.category, context.line, text});
}

}  // namespace

std::unique_ptr<QApplication> openDisplay(int& argc, char** argv) {
    const std::string platform = envText("QT_QPA_PLATFORM");
    const std::string x11 = envText("DISPLAY");
    const std::string wayland = envText("WAYLAND_DISPLAY");
    const char* advice = "; start it in a desktop session or under xvfb-run.\n";
    if (platform.empty() && x11.empty() && wayland.empty()) {
        std::fprintf(stderr, "farsend98: no display available%s", advice);
        return nullptr;
    }
    std::string which = "\"" + x11 + "\"";
    if (!platform.empty())
        which = "for the platform \"" + platform + "\"";
    else if (x11.empty())
        which = "\"" + wayland + "\" (Wayland)";
    else if (!wayland.empty())
        which += " nor \"" + wayland + "\" (Wayland)";
    failureLine = "farsend98: cannot open the display " + which + advice;

    passOn = qInstallMessageHandler(holdMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(passOn);
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(m.file.constData(), m.line, m.function.constData(), m.category.constData());
        if (passOn != nullptr) passOn(m.type, context, m.text);
    }
    held.clear();
    return app;
}

}  // namespace farsend
