// The Options dialog on the real main window.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "PrefsUi.h"
#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "prefs/LoadSettings.h"
#include "prefs/ui/frmOptions.h"

using namespace farsend;
using namespace farsend::test;

namespace {

struct Seen {
    bool ldu = false, rootDir = false, copy = false, move = false, tips = false;
    std::string drive;
};

// Answers the next Options dialog: records its state, runs change, then
// presses the button with objectName (or closes the window when empty).
void inNextOptions(Seen* seen, std::function<void(frmOptions*)> change, const QString& button) {
    onNextModal([=](QWidget* w) {
        auto* d = qobject_cast<frmOptions*>(w);
        QVERIFY2(d != nullptr, "expected the Options dialog");
        if (seen != nullptr) {
            seen->ldu = d->optLDU->isChecked();
            seen->rootDir = d->optRootDir->isChecked();
            seen->copy = d->optCopy->isChecked();
            seen->move = d->optMove->isChecked();
            seen->tips = d->chkTips->isChecked();
            seen->drive = d->drvDefaultDrive->Drive();
        }
        if (change) change(d);
        if (button.isEmpty()) {
            d->close();
        } else {
            QTest::mouseClick(d->findChild<QPushButton*>(button), Qt::LeftButton);
        }
    });
}

void openOptions(frmFSMain& w) {
    w.mnuHelpOptions->trigger();
    QCOMPARE(pendingModalAnswers(), 0);
}

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void startingState_data() {
        QTest::addColumn<QStringList>("stored");  // key=value pairs in "Options"
        QTest::addColumn<bool>("ldu");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<bool>("tips");
        QTest::addColumn<QString>("drive");  // "usb": the scratch volume
        QTest::newRow("empty store") << QStringList{} << false << true << false << "/";
        QTest::newRow("RootDir False") << QStringList{"RootDir=False"} << true << true << false << "/";
        QTest::newRow("Move") << QStringList{"DefaultMode=&Move"} << false << false << false << "/";
        QTest::newRow("other mode text") << QStringList{"DefaultMode=copy"} << false << false << false << "/";
        QTest::newRow("tips 1") << QStringList{"ToolTips=1"} << false << true << true << "/";
        QTest::newRow("tips 2") << QStringList{"ToolTips=2"} << false << true << true << "/";
        QTest::newRow("tips -1") << QStringList{"ToolTips=-1"} << false << true << true << "/";
        QTest::newRow("tips 0") << QStringList{"ToolTips=0"} << false << true << false << "/";
        QTest::newRow("labelled drive") << QStringList{"DefRootDir=usb [STICK]"} << false << true << false << "usb";
        // Stored under the label it had then; the mount point still names it.
        QTest::newRow("drive relabelled") << QStringList{"DefRootDir=usb [OLD]"} << false << true << false << "usb";
        QTest::newRow("drive gone") << QStringList{"DefRootDir=/media/gone [OLD]"} << false << true << false << "/";
    }
    void startingState() {
        QFETCH(QStringList, stored);
        QFETCH(bool, ldu);
        QFETCH(bool, copy);
        QFETCH(bool, tips);
        QFETCH(QString, drive);
        MainHarness h;
        useScratchVolumes(h);
        const QString usb = QString::fromStdString(h.tree.path("usb"));
        for (const QString& kv : stored) {
            QString value = kv.section('=', 1);
            value.replace(QRegularExpression("^usb"), usb);
            h.preset("Options", kv.section('=', 0, 0).toStdString(), value.toStdString());
        }
        QVERIFY(startMain(h));
        Seen seen;
        inNextOptions(&seen, {}, "Command1_1");
        openOptions(h.window());
        QCOMPARE(seen.ldu, ldu);
        QCOMPARE(seen.rootDir, !ldu);
        QCOMPARE(seen.copy, copy);
        QCOMPARE(seen.move, !copy);
        QCOMPARE(seen.tips, tips);
        // The scratch volume's designation carries its label.
        QCOMPARE(QString::fromStdString(seen.drive), drive == "usb" ? usb + " [STICK]" : drive);
    }

    void okWithoutChangesRewritesTheFourKeys() {
        MainHarness h;
        const std::string last = h.tree.dir("last");
        h.preset("Options", "LDU", last);
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QVERIFY(w.dirFSDir->setPath(h.tree.dir("elsewhere")).ok());
        inNextOptions(nullptr, {}, "Command1_0");
        openOptions(w);
        QCOMPARE(h.stored("Options", "RootDir"), std::optional<std::string>("True"));
        QCOMPARE(h.stored("Options", "DefRootDir"), std::optional<std::string>("/"));
        QCOMPARE(h.stored("Options", "DefaultMode"), std::optional<std::string>("&Copy"));
        QCOMPARE(h.stored("Options", "ToolTips"), std::optional<std::string>("0"));
        QCOMPARE(h.stored("Options", "LDU"), std::optional<std::string>(last));  // never written here
        QCOMPARE(w.dirFSDir->Path(), std::string("/"));                          // back at the start folder
    }

    void okStoresTheChoicesAndAppliesThem() {
        MainHarness h;
        const std::string last = h.tree.dir("last");
        h.preset("Options", "LDU", last);
        h.preset("Options", "ToolTips", "2");
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        QCOMPARE(w.Command2->toolTip(), QString());  // 2 does not turn them on
        inNextOptions(
            nullptr,
            [](frmOptions* d) {
                QTest::mouseClick(d->optLDU, Qt::LeftButton);
                QTest::mouseClick(d->optMove, Qt::LeftButton);
                // The two groups are independent.
                QVERIFY(d->optLDU->isChecked());
                QVERIFY(d->optMove->isChecked());
            },
            "Command1_0");
        openOptions(w);
        QCOMPARE(h.stored("Options", "RootDir"), std::optional<std::string>("False"));
        QCOMPARE(h.stored("Options", "DefaultMode"), std::optional<std::string>("&Move"));
        QCOMPARE(h.stored("Options", "ToolTips"), std::optional<std::string>("1"));
        QCOMPARE(w.Command1[0]->text(), QString("&Move"));
        QVERIFY(w.mnuActionMove->isChecked());
        QVERIFY(!w.mnuActionCopy->isChecked());
        QCOMPARE(w.Command2->toolTip(), QString(kToolTipTexts[6]));
        QCOMPARE(w.dirFSDir->Path(), last);
    }

    void okWithAnotherDriveMovesThereAtOnce() {
        MainHarness h;
        useScratchVolumes(h);
        h.tree.dir("usb/inner");
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        const std::string usb = h.tree.path("usb");
        inNextOptions(
            nullptr, [&](frmOptions* d) { QVERIFY(d->drvDefaultDrive->setDrive(usb + " [STICK]").ok()); },
            "Command1_0");
        openOptions(w);
        QCOMPARE(h.stored("Options", "DefRootDir"), std::optional<std::string>(usb + " [STICK]"));
        const std::string path = w.dirFSDir->Path();
        QVERIFY2(path == usb || path == usb + "/", path.c_str());
    }

    void cancelAfterSwitchingToMoveReturnsToTheDefaults() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        w.Command1[0]->setText("&Move");
        w.mnuActionCopy->setChecked(false);
        w.mnuActionMove->setChecked(true);
        QVERIFY(w.dirFSDir->setPath(h.tree.root()).ok());
        inNextOptions(
            nullptr, [](frmOptions* d) { QTest::mouseClick(d->optMove, Qt::LeftButton); }, "Command1_1");
        openOptions(w);
        QCOMPARE(w.Command1[0]->text(), QString("&Copy"));
        QVERIFY(w.mnuActionCopy->isChecked());
        QVERIFY(!w.mnuActionMove->isChecked());
        QCOMPARE(w.dirFSDir->Path(), std::string("/"));
        QCOMPARE(h.stored("Options", "DefaultMode"), std::nullopt);
        QCOMPARE(h.stored("Options", "RootDir"), std::nullopt);
    }

    void escapeIsCancel() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        w.Command1[0]->setText("&Move");
        onNextModal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
        openOptions(w);
        QCOMPARE(w.Command1[0]->text(), QString("&Copy"));
    }

    void closingTheWindowNeitherWritesNorReloads() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        w.Command1[0]->setText("&Move");
        inNextOptions(
            nullptr, [](frmOptions* d) { QTest::mouseClick(d->optMove, Qt::LeftButton); }, QString());
        openOptions(w);
        QCOMPARE(w.Command1[0]->text(), QString("&Move"));
        QCOMPARE(h.stored("Options", "DefaultMode"), std::nullopt);
    }

    void layout() {
        MainHarness h;
        QVERIFY(startMain(h));
        frmOptions d(h.window());
        QCOMPARE(d.windowTitle(), QString("Options"));
        // As designed, or wider where the font needs it; captions are never cut.
        QVERIFY(d.width() >= 277);
        QCOMPARE(d.height(), 181);
        for (QWidget* c : {static_cast<QWidget*>(d.optLDU), static_cast<QWidget*>(d.optRootDir),
                           static_cast<QWidget*>(d.optMove), static_cast<QWidget*>(d.chkTips)})
            QVERIFY(c->width() >= c->sizeHint().width());
        // Every control of the frame stands clear of its caption and border.
        for (QWidget* c : d.fraStartup->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(d.fraStartup->contentsRect().contains(c->geometry()),
                     qPrintable(c->objectName() + " outside the frame's inside"));
        QVERIFY(d.optRootDir->geometry().right() < d.drvDefaultDrive->x());
        QVERIFY(d.drvDefaultDrive->geometry().right() < d.fraStartup->width());
        QCOMPARE(d.Command1[1]->geometry().right(), d.fraStartup->geometry().right());
        QCOMPARE(d.fraStartup->title(), QString("Startup"));
        QCOMPARE(d.optLDU->text(), QString("Start With Last Directory Used"));
        QCOMPARE(d.optRootDir->text(), QString("Start With Root Directory on Drive"));
        QCOMPARE(d.optCopy->text(), QString("Start With Copy"));
        QCOMPARE(d.optMove->text(), QString("Start with Move"));
        QCOMPARE(d.chkTips->text(), QString("Tool Tip Help"));
        QCOMPARE(d.Command1[0]->text(), QString("&OK"));
        QVERIFY(d.Command1[0]->isDefault());
        QCOMPARE(d.Command1[1]->text(), QString("&Cancel"));
        QCOMPARE(d.optCopy->parentWidget(), d.Picture1);
        QCOMPARE(d.optLDU->parentWidget(), static_cast<QWidget*>(d.fraStartup));
    }
};

QTEST_MAIN(OptionsTest)
#include "options_uitest.moc"
