// The Options dialog on the real main window.
#include <QCheckBox>
#include <QRadioButton>

#include "PrefsUi.h"
#include "app/ui/DriveListBox.h"
#include "prefs/ui/frmOptions.h"

using namespace farsend;
using namespace farsend::test;

namespace {

// Opens Options and runs answer on the dialog, which must close it.
void withOptions(frmFSMain& w, std::function<void(frmOptions*)> answer) {
    onNextModal([=](QWidget* d) {
        auto* dialog = qobject_cast<frmOptions*>(d);
        QVERIFY2(dialog != nullptr, "expected the Options dialog");
        answer(dialog);
    });
    w.mnuHelpOptions->trigger();
    QCOMPARE(pendingModalAnswers(), 0);
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }

    void startingState_data() {
        QTest::addColumn<QString>("stored");  // in "Options", "~" for the scratch folder
        QTest::addColumn<QString>("seen");
        QTest::newRow("empty store") << ""
                                     << "root copy notips /";
        QTest::newRow("RootDir False") << "RootDir=False"
                                       << "ldu copy notips /";
        QTest::newRow("Move") << "DefaultMode=&Move"
                              << "root move notips /";
        QTest::newRow("other mode text") << "DefaultMode=copy"
                                         << "root move notips /";
        for (const char* tips : {"1", "2", "-1"})
            QTest::addRow("tips %s", tips) << QString("ToolTips=") + tips << "root copy tips /";
        QTest::newRow("tips 0") << "ToolTips=0"
                                << "root copy notips /";
        QTest::newRow("labelled drive") << "DefRootDir=~/usb [STICK]"
                                        << "root copy notips ~/usb [STICK]";
        // Stored under the label it had then; the mount point still names it.
        QTest::newRow("drive relabelled") << "DefRootDir=~/usb [OLD]"
                                          << "root copy notips ~/usb [STICK]";
        QTest::newRow("drive gone") << "DefRootDir=/media/gone [OLD]"
                                    << "root copy notips /";
    }
    void startingState() {
        QFETCH(QString, stored);
        QFETCH(QString, seen);
        MainHarness h;
        useScratchVolumes(h);
        if (!stored.isEmpty()) presetAll(h, {"Options/" + stored});
        QVERIFY(startMain(h));
        QString state;
        withOptions(h.window(), [&](frmOptions* d) {
            QVERIFY(d->optLDU->isChecked() != d->optRootDir->isChecked());
            QVERIFY(d->optCopy->isChecked() != d->optMove->isChecked());
            state = QString("%1 %2 %3 %4")
                        .arg(d->optLDU->isChecked() ? "ldu" : "root", d->optCopy->isChecked() ? "copy" : "move",
                             d->chkTips->isChecked() ? "tips" : "notips",
                             QString::fromStdString(d->drvDefaultDrive->Drive()))
                        .replace(QString::fromStdString(h.tree.root()), "~");
            click(d->Command1[1]);
        });
        QCOMPARE(state, seen);
    }

    // OK writes the four keys (never LDU) and applies them at once.
    void ok_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("state");
        QTest::newRow("unchanged") << "" << QString(kFreshState).replace("-,-,-,-,-", "True,/,&Copy,0,~/last");
        QTest::newRow("LDU and Move, tips 2 kept on") << "ldu+move"
                                                      << QString(kFreshState)
                                                             .replace("dir=/ mode=&Copy copy=1 move=0 tips=off(0)",
                                                                      "dir=~/last mode=&Move copy=0 move=1 tips=on(1)")
                                                             .replace("-,-,-,-,-", "False,/,&Move,1,~/last");
        QTest::newRow("another drive") << "drive"
                                       << QString(kFreshState)
                                              .replace("dir=/", "dir=~/usb")
                                              .replace("-,-,-,-,-", "True,~/usb [STICK],&Copy,0,~/last");
    }
    void ok() {
        QFETCH(QString, change);
        QFETCH(QString, state);
        MainHarness h;
        useScratchVolumes(h);
        h.tree.dir("last/sub");
        presetAll(h, {"Options/LDU=~/last"});
        if (change == "ldu+move") h.preset("Options", "ToolTips", "2");
        QVERIFY(startMain(h));
        QVERIFY(h.window().dirFSDir->setPath(h.tree.dir("elsewhere")).ok());
        withOptions(h.window(), [&](frmOptions* d) {
            if (change == "ldu+move") {
                click(d->optLDU);
                click(d->optMove);
                QVERIFY(d->optLDU->isChecked() && d->optMove->isChecked());  // the two groups are independent
            }
            if (change == "drive") QVERIFY(d->drvDefaultDrive->setDrive(h.tree.path("usb") + " [STICK]").ok());
            click(d->Command1[0]);
        });
        QCOMPARE(prefsState(h).replace("dir=~/usb/", "dir=~/usb"), state);
    }

    // Cancel (or Escape) after switching to Move reloads the stored settings;
    // closing the window neither writes nor reloads.
    void cancel_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("state");
        QTest::newRow("Cancel") << "cancel" << kFreshState;
        QTest::newRow("Escape") << "escape" << kFreshState;
        QTest::newRow("window closed")
            << "close"
            << QString(kFreshState).replace("dir=/ mode=&Copy copy=1 move=0", "dir=~/usb mode=&Move copy=0 move=1");
    }
    void cancel() {
        QFETCH(QString, how);
        QFETCH(QString, state);
        MainHarness h;
        useScratchVolumes(h);
        QVERIFY(startMain(h));
        frmFSMain& w = h.window();
        w.Command1[0]->setText("&Move");
        w.mnuActionCopy->setChecked(false);
        w.mnuActionMove->setChecked(true);
        QVERIFY(w.dirFSDir->setPath(h.tree.path("usb")).ok());
        withOptions(w, [&](frmOptions* d) {
            click(d->optMove);
            if (how == "cancel") click(d->Command1[1]);
            if (how == "escape") QTest::keyClick(d, Qt::Key_Escape);
            if (how == "close") d->close();
        });
        QCOMPARE(prefsState(h), state);
    }
};

QTEST_MAIN(OptionsTest)
#include "options_uitest.moc"
