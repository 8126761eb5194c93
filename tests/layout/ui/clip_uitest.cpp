// Every window under each sans serif that Debian desktops bring, at scale 1
// and 2: no caption, label, list entry or button text is cut, and every text
// is in the desktop's family at the forms' size. And Options by keyboard.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/ui/DirListBox.h"
#include "app/ui/FittedLabel.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/Twips.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"

using namespace farsend;
using namespace farsend::test;

namespace {

using H = MainHarness&;
using L = const std::function<void(QWidget*)>&;
const std::string kDeep = "Documents/Projects 2024/Quarterly Reports/Final Versions for the Board";
const std::string kName = "Annual_Financial_Statement_2024_final_approved_v3.xlsx";
const std::string kExists = kName + " already exists... replace?\r\nNo to rename, Cancel to abort.";

// Dialogs are modal: each is looked at, then closed, from inside.
const auto prompted = [](L look) { onNextModal([look](QWidget* w) { look(w), w->close(); }); };

// Each window as the user opens it, with the destination deep down.
const std::vector<std::pair<const char*, void (*)(H, L)>> kWindows{
    {"main", [](H h, L look) { look(&h.window()); }},
    {"main pressed", [](H h, L look) { h.window().Command1_MouseDown(0, Qt::LeftButton), look(&h.window()); }},
    {"new dir", [](H h, L look) { prompted(look), click(child(h.window(), "Command3")); }},
    {"favorites", [](H h, L look) { prompted(look), click(child(h.window(), "Command2")); }},
    {"options", [](H h, L look) { prompted(look), child<QAction>(h.window(), "mnuHelpOptions")->trigger(); }},
    {"about", [](H h, L look) { prompted(look), child<QAction>(h.window(), "mnuHelpAbout")->trigger(); }},
    {"replace", [](H, L look) { prompted(look), QtPrompts().askReplace(); }},
    {"conflict", [](H, L look) { prompted(look), QtPrompts().askYesNoCancel(kExists, kPromptTitle); }},
    {"rename",
     [](H, L look) { prompted(look), QtPrompts().inputBox("Rename the file " + kName + " to:", "Rename", kName); }},
};

// Which texts of window are cut, or drawn in another font than the forms'.
QStringList faultsIn(QWidget* window, const QString& family) {
    QStringList faults;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets << window) {
        if (auto* c = qobject_cast<QComboBox*>(w); c && c->sizeHint().width() > c->width())
            faults << w->objectName() + " cuts its entries";  // the width the widest entry needs
        const QStyle* s = w->style();
        QString text;  // a label's or a button's text, where it is drawn, and how
        if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) text = w->property("text").toString();
        if (auto* fitted = qobject_cast<FittedLabel*>(w)) text = fitted->shownText();
        QRect room = w->rect();
        int flags = Qt::TextShowMnemonic;
        const int m = (s->pixelMetric(QStyle::PM_ButtonMargin) + 2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth)) / 2;
        if (qobject_cast<QPushButton*>(w)) room.adjust(m, 1, -m, -1);  // within the style's margins
        if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
            room.setLeft(s->pixelMetric(QStyle::PM_IndicatorWidth) + s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
        if (auto* l = qobject_cast<QLabel*>(w))
            room = l->contentsRect(),
            flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0) | (l->buddy() ? flags : 0);
        if (text.isEmpty() || !w->isVisibleTo(window)) continue;
        const bool designedSize = QStringList{"lblTitle", "lblDisclaimer"}.contains(w->objectName());
        if (QFontInfo(w->font()).family() != family ||
            (w->font().pointSizeF() != formFont().pointSizeF() && !designedSize))
            faults << w->objectName() + " is in " + w->font().toString();
        const QSize need = w->fontMetrics().boundingRect(room, flags, text).size();
        if (need.width() > room.width() || need.height() > room.height()) faults << w->objectName() + " cuts " + text;
    }
    return faults;
}

}  // namespace

class ClipTest : public QObject {
    Q_OBJECT
private slots:
    void clip_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("scale");
        for (int scale : {1, 2})
            for (const char* family : {"DejaVu Sans", "Liberation Sans", "Noto Sans", "Cantarell"})
                for (int i = 0; i < int(kWindows.size()); ++i)
                    QTest::addRow("%s/%s/x%d", kWindows[i].first, family, scale) << i << QString(family) << scale;
    }
    void clip() {
        QFETCH(int, window);
        QFETCH(QString, family);
        QFETCH(int, scale);
        if (qRound(qApp->devicePixelRatio()) != scale) {  // a process has one scale: the row runs in a child
            qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
            const QStringList row{"-silent", QString("clip:") + QTest::currentDataTag()};
            QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(), row), 0);
            return;
        }
        QApplication::setFont(QFont(family, 10));  // as a desktop sets it
        QVERIFY2(QFontInfo(QApplication::font()).family() == family, "missing: scripts/setup.sh installs it");
        MainHarness h;
        h.volumes.list = {{"/", ""}, {"/mnt/usb", "USBSTICK"}};
        QVERIFY(h.start({h.tree.file(kDeep + "/" + kName), h.tree.file(kDeep + "/Notes.txt")}));
        QVERIFY(child<DirListBox>(h.window(), "dirFSDir")->setPath(h.tree.path(kDeep)).ok());
        QStringList faults{"not shown"};
        kWindows[std::size_t(window)].second(h, [&](QWidget* w) { faults = faultsIn(w, family); });
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // Tab reaches each group of options once, at its selected option, in
    // the order of the tab indexes; the arrow keys move within a group.
    void optionsByKeyboard() {
        MainHarness h;
        h.store.values = {{{"Options", "RootDir"}, "False"}, {{"Options", "DefaultMode"}, "&Move"}};
        QVERIFY(h.start({h.tree.file("a.txt")}));
        QStringList seen;  // Last Directory Used and Move selected
        kWindows[4].second(h, [&seen](QWidget* options) {
            QVERIFY(QTest::qWaitForWindowActive(options));
            seen << QApplication::focusWidget()->objectName();
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Up, Qt::Key_Up, Qt::Key_Tab,
                                Qt::Key_Tab, Qt::Key_Down})
                press(key), seen << QApplication::focusWidget()->objectName();
        });
        QCOMPARE(seen.join(' '),
                 "optLDU drvDefaultDrive Command1_0 Command1_1 optMove optCopy optCopy chkTips optLDU optRootDir");
    }
};

QTEST_MAIN(ClipTest)
#include "clip_uitest.moc"
