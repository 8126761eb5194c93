// The walk through the real main window: the file step with its progress
// values, "already exists" box and rename input box; folder trees with the
// Replace File? dialog and the removal pass of a move; and the faults both
// meet. Each row is one scenario (see runScenario).

#include <QtTest>

#include "TransferUiTest.h"

using namespace farsend::test;

class TransferWalkTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clearModalAnswers(); }
    void fileStep_data();
    void fileStep() { runScenario(); }
    void folderTree_data();
    void folderTree() { runScenario(); }
};

void TransferWalkTest::fileStep_data() {
    scenarioColumns();
    const QString exists = "src/a.txt=new;src/b.txt=bee;Dest/a.txt=old content, longer;";
    const QString same = "src/a.bin*70000;other/b.txt=bee;alias@src";
    const QString itself = "!The destination of ~/src/a.bin is the file itself; it was left as it is.";
    row("two whole chunks", "f.bin*50000", "Copy f.bin>Dest", {}, "Copying f.bin, 50, 100", "Dest/f.bin*50000");
    row("remainder without update", "f.bin*60000", "Copy f.bin>Dest", {}, "Copying f.bin, 42, 83", "Dest/f.bin*60000");
    row("halves to even", "f.bin*200000", "Copy f.bin>Dest", {}, "Copying f.bin, 12, 25, 38, 50, 62, 75, 88, 100",
        "Dest/f.bin*200000");
    row("bar kept between files", "big.bin*60000;small.bin*10000", "Copy big.bin,small.bin>Dest", {},
        "Copying big.bin, 42, 83, Copying small.bin", "Dest/big.bin*60000;Dest/small.bin*10000");
    row("exists: yes replaces, cut to length", exists, "Copy src/a.txt,src/b.txt>Dest", {"exists a.txt>Yes"},
        "Copying a.txt, Copying b.txt", "Dest/a.txt=new;Dest/b.txt=bee");
    row("exists: yes in move deletes the source", exists, "Move src/a.txt,src/b.txt>Dest", {"exists a.txt>Yes"},
        "Moving a.txt, Moving b.txt", "-src/a.txt;-src/b.txt;Dest/a.txt=new;Dest/b.txt=bee;src/");
    row("exists: cancel skips only this file", exists, "Move src/a.txt,src/b.txt>Dest", {"exists a.txt>Cancel"},
        "Moving b.txt", "-src/b.txt;Dest/b.txt=bee");
    row("rename: proposal taken, walk stops", exists, "Copy src/a.txt,src/b.txt>Dest",
        {"exists a.txt>No", "rename a.txt>="}, "Copying Copy Of a.txt", "Dest/Copy Of a.txt=new");
    // The same name, a path, dot names and an existing file bring the box
    // back; another letter case is a new name.
    row("rename: asked again until usable", exists + "Dest/taken.txt=taken;outside.txt=outside", "Copy src/a.txt>Dest",
        {"exists a.txt>No", "rename a.txt>a.txt", "rename a.txt>../outside.txt", "rename a.txt>sub/x.txt",
         "rename a.txt>.", "rename a.txt>..", "rename a.txt>taken.txt", "rename a.txt>A.TXT"},
        "Copying A.TXT", "Dest/A.TXT=new");
    row("rename: empty ends at once", exists, "Copy src/a.txt,src/b.txt>Dest", {"exists a.txt>No", "rename a.txt>"},
        "ended", "");
    row("rename: cancel ends at once", exists, "Copy src/a.txt,src/b.txt>Dest", {"exists a.txt>No", "rename a.txt>^"},
        "ended", "");
    row("hidden name is a conflict", "src/.profile=new;Dest/.profile=old", "Copy src/.profile>Dest",
        {"exists .profile>Cancel"}, "", "");
    row("folder of the name", "src/a.txt=new;Dest/a.txt/", "Move src/a.txt>Dest", {"!Is a directory"}, "Moving a.txt",
        "");
    row("same file, move", same, "Move src/a.bin,other/b.txt>src", {itself}, "Moving b.txt",
        "-other/b.txt;other/;src/b.txt=bee");
    row("same file through a link", same, "Move src/a.bin,other/b.txt>alias", {itself}, "Moving b.txt",
        "-other/b.txt;other/;src/b.txt=bee");
    row("pipe and dangling link skipped", "src/pipe|;src/dangling@src/nowhere;src/b.txt=bee",
        "Move src/pipe,src/dangling,src/b.txt>Dest",
        {"!~/src/pipe is not a plain file (a pipe, socket or device); it was skipped.",
         "!~/src/dangling is a link to an item that no longer exists; it was skipped."},
        "Moving b.txt", "-src/b.txt;Dest/b.txt=bee");
    row("vanished entry skipped", "src/a.txt=a;src/b.txt=bee;!gone:src/a.txt", "Copy src/a.txt,src/b.txt>Dest", {},
        "Copying b.txt", "-src/a.txt;Dest/b.txt=bee");
    row("execute bits carried over", "run.sh+x=#!/bin/sh", "Copy run.sh>Dest", {}, "Copying run.sh",
        "Dest/run.sh+x=#!/bin/sh");
    row("disk full: source kept, walk goes on", "src/a.bin*100000;src/b.txt=bee;!full:Dest/a.bin:30000",
        "Move src/a.bin,src/b.txt>Dest", {"!No space left on device"}, "Moving a.bin, Moving b.txt",
        "-src/b.txt;Dest/a.bin*30000;Dest/b.txt=bee");
    row("read error", "src/a.bin*80000;!read:src/a.bin", "Move src/a.bin>Dest", {"!Input/output error"},
        "Moving a.bin, 31, 62", "Dest/a.bin*65536");
}

void TransferWalkTest::folderTree_data() {
    scenarioColumns();
    const QString replace =
        "Src/a.txt=new a;Src/Sub/b.txt=new b;Dest/Src/a.txt=old a, longer;Dest/Src/Sub/b.txt=old b;"
        "later.txt=later";
    const QString replaced = "Dest/Src/Sub/b.txt=new b;Dest/Src/a.txt=new a;Dest/later.txt=later";
    const QString all =
        "One/x.txt=new x;Two/y.txt=new y;z.txt=new z;Dest/One/x.txt=old x;Dest/Two/y.txt=old y;"
        "Dest/z.txt=old z";
    const QString noFolder = "Src/a.txt=a;Src/Sub/b.txt=b;Src/Sub/More/c.txt=c;later.txt=later;!mkdir:Dest/Src/Sub";
    const QString enoent = "!No such file or directory";
    row("copy", "Src/a.txt*60000;Src/Sub/b.txt*50000", "Copy Src>Dest", {},
        "Copying a.txt, 42, 83, Copying b.txt, 50, 100", "Dest/Src/Sub/b.txt*50000;Dest/Src/a.txt*60000");
    row("move, then a file", "Src/a.txt=a;Src/Sub/b.txt=b;c.txt=c", "Move Src,c.txt>Dest", {},
        "Moving a.txt, Moving b.txt, (deleting), Moving c.txt",
        "-Src/Sub/b.txt;-Src/a.txt;-c.txt;Dest/Src/Sub/b.txt=b;Dest/Src/a.txt=a;Dest/c.txt=c");
    row("replace: yes", replace, "Copy Src,later.txt>Dest", {"replace>1", "replace>1"},
        "Copying a.txt, Copying b.txt, Copying later.txt", replaced);
    row("replace: yes to all", replace, "Copy Src,later.txt>Dest", {"replace>2"},
        "Copying a.txt, Copying b.txt, Copying later.txt", replaced);
    row("replace: no", replace, "Copy Src,later.txt>Dest", {"replace>3", "replace>1"},
        "Copying b.txt, Copying later.txt", "Dest/Src/Sub/b.txt=new b;Dest/later.txt=later");
    row("replace: no to all", replace, "Copy Src,later.txt>Dest", {"replace>4"}, "Copying later.txt",
        "Dest/later.txt=later");
    row("replace: cancel ends at once", replace, "Copy Src,later.txt>Dest", {"replace>0"}, "ended", "");
    row("replace: closed ends at once", replace, "Copy Src,later.txt>Dest", {"replace>x"}, "ended", "");
    // A plain file of the selection is still asked about in the message box.
    row("yes to all carries on", all, "Copy One,Two,z.txt>Dest", {"replace>2", "exists z.txt>Cancel"},
        "Copying x.txt, Copying y.txt", "Dest/One/x.txt=new x;Dest/Two/y.txt=new y");
    row("no to all carries on", all, "Copy One,Two,z.txt>Dest", {"replace>4", "exists z.txt>Cancel"}, "", "");
    row("move with a skipped file", "Src/a.txt=a;Src/Sub/b.txt=new b;Src/Empty/;Dest/Src/Sub/b.txt=old b;later.txt=l",
        "Move Src,later.txt>Dest", {"replace>3"}, "Moving a.txt, (deleting), Moving later.txt",
        "-Src/Empty/;-Src/a.txt;-later.txt;Dest/Src/Empty/;Dest/Src/a.txt=a;Dest/later.txt=l");
    row("empty and fileless folders, move", "Empty/;Src/A/B/x.txt=x;Src/A/Hollow/", "Move Empty,Src>Dest", {},
        "(deleting), Moving x.txt, (deleting)",
        "-Empty/;-Src/A/B/x.txt;-Src/A/Hollow/;Dest/Empty/;Dest/Src/A/B/x.txt=x;Dest/Src/A/Hollow/");
    row("hidden files", "Src/.hidden=h;Src/Sub/.also=a;Dest/Src/Sub/.also=old", "Move Src>Dest", {"replace>1"},
        "Moving .hidden, Moving .also, (deleting)",
        "-Src/.hidden;-Src/Sub/.also;Dest/Src/.hidden=h;Dest/Src/Sub/.also=a");
    row("copy into its own subfolder", "Src/a.txt=a;Src/Sub/b.txt=b", "Copy Src>Src/Sub", {},
        "Copying a.txt, Copying b.txt", "Src/Sub/Src/Sub/b.txt=b;Src/Sub/Src/a.txt=a");
    row("move into its own parent", "Src/a.bin*90000;Src/Sub/b.txt=b;Other/later.txt=later",
        "Move Src,Other/later.txt>.", {"!The destination of ~/Src is the folder itself; it was left as it is."},
        "Moving later.txt", "-Other/later.txt;Other/;later.txt=later");
    row("pipe and dangling link in a tree", "Src/pipe|;Src/a.txt=a;Src/Sub/dangling@Src/gone", "Move Src>Dest",
        {"!~/Src/pipe is not a plain file (a pipe, socket or device); it was skipped.",
         "!~/Src/Sub/dangling is a link to an item that no longer exists; it was skipped."},
        "Moving a.txt, (deleting)", "-Src/a.txt;Dest/Src/Sub/;Dest/Src/a.txt=a");
    // A copy goes on with the rest of the tree; a move ends at the folder.
    row("folder not creatable, copy", noFolder, "Copy Src,later.txt>Dest", {enoent, enoent},
        "Copying a.txt, Copying b.txt, Copying c.txt, Copying later.txt", "Dest/Src/a.txt=a;Dest/later.txt=later");
    row("folder not creatable, move", noFolder, "Move Src,later.txt>Dest", {}, "Moving a.txt, Moving later.txt",
        "-Src/a.txt;-later.txt;Dest/Src/a.txt=a;Dest/later.txt=later");
    // A copy goes on with what the search found before it failed; a move
    // of that folder ends at once, leaving the status line.
    row("enumeration fails, copy", "Src/a.txt=a;Src/Bad/b.txt=b;!list:Src/Bad/", "Copy Src>Dest", {}, "Copying a.txt",
        "Dest/Src/Bad/;Dest/Src/a.txt=a");
    row("enumeration fails, move", "Src/a.txt=a;Src/Bad/b.txt=b;!list:Src/Bad/", "Move Src>Dest", {},
        "[Calulating Directory Structures...]", "");
    row("source not deletable", "Src/a.txt=a;Src/Sub/b.txt=b;later.txt=later;!del:/Src/", "Move Src,later.txt>Dest", {},
        "Moving a.txt, Moving later.txt", "-later.txt;Dest/Src/a.txt=a;Dest/later.txt=later");
}

QTEST_MAIN(TransferWalkTest)
#include "transfer_walk_uitest.moc"
