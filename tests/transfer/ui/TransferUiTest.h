#pragma once
// Shared set-up of the transfer's window tests: a main window on scratch
// services with a selection and a destination, and a scenario runner that
// builds a scratch tree from one line, answers every dialog from a script
// through its real widgets, and sums up what was shown and what changed on
// disk in one line each.

#include <sys/stat.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/ui/DirListBox.h"
#include "progress/CProgressBar.h"
#include "support/ui/MainHarness.h"
#include "support/ui/Modal.h"
#include "transfer/ui/frmReplace.h"

namespace farsend::test {

// Text of a caption without its access-key "&".
inline QString plain(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

struct TransferRun {
    MainHarness h;

    frmFSMain& w() { return h.window(); }
    // Starts the window on args with destination as the chosen folder.
    bool start(const std::vector<std::string>& args, const std::string& destination, const QString& caption = "&Copy") {
        if (!h.start(args)) return false;
        (void)child<DirListBox>(w(), "dirFSDir")->setPath(destination);
        child<QPushButton>(w(), "Command1_0")->setText(caption);
        return true;
    }
    // A left click on the Copy/Move button: runs the whole transfer.
    void click() { QTest::mouseClick(child<QPushButton>(w(), "Command1_0"), Qt::LeftButton); }
    bool closed() { return !w().isVisible() && !h.endedWith; }
};

inline std::string slurp(const std::string& path) { return TempTree::read(path); }

using Snapshot = std::map<std::string, std::string>;

// Every entry below root but the settings folder: a file as "=text" (short)
// or "*N" (N bytes of pattern, "#N" otherwise) with "+x" after an executable
// one's name, "@" a link, "|" a pipe, and a folder only when it is empty.
inline Snapshot snapshot(const std::string& root) {
    namespace fs = std::filesystem;
    Snapshot out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        std::string rel = it->path().string().substr(root.size() + 1);
        const auto st = it->symlink_status();
        if (rel == "config") {
            it.disable_recursion_pending();
        } else if (fs::is_symlink(st) || fs::is_fifo(st)) {
            out[rel] = fs::is_symlink(st) ? "@" : "|";
        } else if (fs::is_directory(st)) {
            if (fs::is_empty(it->path())) out[rel + "/"] = "";
        } else {
            const std::string data = slurp(it->path().string());
            std::string pattern(data.size(), '\0');
            for (std::size_t i = 0; i < data.size(); ++i) pattern[i] = patternByte(static_cast<std::int64_t>(i), 1);
            if ((st.permissions() & fs::perms::owner_exec) != fs::perms::none) rel += "+x";
            out[rel] = data.size() <= 24 ? "=" + data : (data == pattern ? "*" : "#") + std::to_string(data.size());
        }
    }
    return out;
}

// New or changed entries, and "-path" for those gone (a folder that merely
// stopped being empty is not gone).
inline QString changes(const Snapshot& before, const Snapshot& after, const std::string& root) {
    QStringList out;
    for (const auto& [path, value] : after)
        if (!before.count(path) || before.at(path) != value) out << QString::fromStdString(path + value);
    for (const auto& [path, value] : before)
        if (!after.count(path) && !(path.back() == '/' && std::filesystem::is_directory(root + "/" + path)))
            out << QString::fromStdString("-" + path);
    out.sort();
    return out.join(';');
}

// Answers each dialog with the next line of the script and logs it in the
// same form, so a dialog that is missing, extra or looks wrong shows up as
// a difference between log and script: "exists NAME>Yes|No|Cancel" the
// already-exists box, "rename NAME>typed" the input box (">=" keeps the
// proposal, ">^" cancels), "replace>0..4" the Replace File? dialog (">x"
// closes it through its frame), "!text" a box with OK alone. A dialog past
// the script's end is closed.
struct DialogScript {
    QStringList script;
    std::string root;
    QStringList log;

    void arm() {
        onNextModal([this](QWidget* d) { answer(d); });
    }
    void answer(QWidget* d) {
        const QString next = script.value(log.size()), reply = next.isEmpty() ? "?" : next.section('>', 1);
        arm();
        if (auto* box = qobject_cast<QMessageBox*>(d)) return answerBox(box, reply);
        if (auto* r = qobject_cast<frmReplace*>(d)) return answerReplace(r, reply);
        auto* edit = d->findChild<QLineEdit*>();
        auto* buttons = d->findChild<QDialogButtonBox*>();
        QVERIFY2(edit && buttons, "an unknown dialog");
        QString prompt;
        for (auto* l : d->findChildren<QLabel*>())
            if (!l->text().isEmpty()) prompt = l->text();
        const QString name = prompt.mid(16, prompt.size() - 20);
        const bool usual = d->windowTitle() == "Rename" && prompt == "Rename the file " + name + " to:" &&
                           edit->text() == "Copy Of " + name;
        log << (usual ? "rename " + name : "odd input box: " + prompt + "|" + edit->text()) + ">" + reply;
        if (reply == "?") return (void)d->close();
        if (reply == "^") return QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        if (reply != "=") {
            edit->selectAll();
            edit->del();
            QTest::keyClicks(edit, reply);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void answerBox(QMessageBox* box, QString reply) {
        const QString text = box->text().replace(QString::fromStdString(root), "~");
        const QString ask = " already exists... replace?\r\nNo to rename, Cancel to abort.";
        QStringList buttons;
        for (auto* b : box->buttons()) buttons << plain(b->text());
        buttons.sort();
        const QString def = box->defaultButton() ? plain(box->defaultButton()->text()) : QString();
        if (box->windowTitle() == "Farsend 98" && buttons == QStringList{"OK"} && reply != "?")
            log << "!" + text, reply = "OK";
        else if (box->windowTitle() == "Farsend v. 3.0" && text.endsWith(ask) && def == "Yes" &&
                 box->icon() == QMessageBox::Warning && buttons == QStringList{"Cancel", "No", "Yes"})
            log << "exists " + text.chopped(ask.size()) + ">" + reply;
        else
            log << "odd box: " + box->windowTitle() + "|" + text + "|" + buttons.join(',') + "|" + def;
        for (auto* b : box->buttons())
            if (plain(b->text()) == reply) return QTest::mouseClick(b, Qt::LeftButton);
        box->close();
    }
    void answerReplace(frmReplace* d, const QString& reply) {
        QString look = d->windowTitle() + "|" + d->Label1->text() + (d->Image1->pixmap().isNull() ? "|no icon" : "");
        for (auto* b : d->Command1) look += "|" + b->text() + (b->isDefault() ? " (default)" : "");
        const bool usual = look ==
                           "Replace File?|There is already a file by this name... Do you want to replace this file?|"
                           "&Cancel|&Yes|&Yes to &All|&No|N&o to All";
        log << (usual ? "replace>" : "odd replace: " + look + ">") + reply;
        if (reply != "x") return QTest::mouseClick(d->Command1[reply.toInt()], Qt::LeftButton);
        // Neither Esc nor Enter answers; only the frame's close does.
        QTest::keyClick(d, Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (!d->isVisible()) log << "answered by a key";
        d->close();
    }
};

inline void scenarioColumns() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("run");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<QString>("trail");
    QTest::addColumn<QString>("after");
}

inline void row(const char* name, const QString& setup, const QString& run, const QStringList& dialogs,
                const QString& trail, const QString& after) {
    QTest::newRow(name) << setup << run << dialogs << trail << after;
}

// Runs one row of a scenario table. setup lists entries split by ';':
// "a/b.txt=text" a file ("a+x=..." executable), "a/" a folder, "a*N" N
// bytes of pattern, "a|" a pipe, "a@b" a link to b; faults "!full:part:N",
// "!read:part", "!mkdir:part", "!del:part", "!list:part", and "!gone:a"
// which removes a once the window is up. run is "Copy|Move a,b>dest" ("."
// the scratch root; Dest always exists). trail lists, in order, the
// selection display and status at each file opened for writing, every
// progress value, "(deleting)" for a removal pass, a status left standing,
// and how the run ended unless the window just closed.
inline void runScenario() {
    namespace fs = std::filesystem;
    QFETCH(QString, setup);
    QFETCH(QString, run);
    QFETCH(QStringList, dialogs);
    QFETCH(QString, trail);
    QFETCH(QString, after);
    TransferRun r;
    TempTree& t = r.h.tree;
    std::vector<std::string> gone;
    t.dir("Dest");
    for (const QString& entry : setup.split(';', Qt::SkipEmptyParts)) {
        const std::string e = entry.toStdString(), name = e.substr(0, e.find_first_of("=*@|+")), p = t.path(name);
        const char kind = e.size() > name.size() ? e[name.size()] : '/';
        if (e[0] == '!') {
            const QStringList f = entry.mid(1).split(':');
            const std::string part = f[1].toStdString();
            if (f[0] == "full") r.h.fs.diskFullAfter(part, f[2].toLongLong());
            if (f[0] == "read") r.h.fs.failOn(Op::Read, part, EIO, 1);
            if (f[0] == "list") r.h.fs.failOn(Op::List, part, EIO);
            if (f[0] == "mkdir") r.h.fs.failOn(Op::MakeDir, part, EACCES);
            if (f[0] == "del") r.h.fs.failOn(Op::DeleteFile, part, EBUSY);
            if (f[0] == "gone") gone.push_back(t.path(part));
        } else if (kind == '/') {
            t.dir(name);
        } else if (kind == '*') {
            t.patterned(name, std::stoll(e.substr(name.size() + 1)));
        } else if (kind == '=' || kind == '+') {
            t.file(name, e.substr(e.find('=') + 1));
            if (kind == '+') fs::permissions(p, fs::perms::owner_exec, fs::perm_options::add);
        } else {
            t.dir(fs::path(name).parent_path().string());
            if (kind == '|') QCOMPARE(::mkfifo(p.c_str(), 0644), 0);
            if (kind == '@') fs::create_symlink(t.path(e.substr(name.size() + 1)), p);
        }
    }
    const Snapshot before = snapshot(t.root());
    std::vector<std::string> args;
    for (const QString& a : run.section('>', 0, 0).section(' ', 1).split(',')) args.push_back(t.path(a.toStdString()));
    const QString to = run.section('>', 1);
    const std::string dest = to == "." ? t.root() : t.path(to.toStdString());
    QVERIFY(r.start(args, dest, "&" + run.section(' ', 0, 0)));
    for (const std::string& g : gone) fs::remove(g);

    QStringList shown;
    int lastValue = -1;
    r.w().progressTap = [&](std::int32_t v) { shown << QString::number(lastValue = v); };
    r.h.fs.onCall([&](Op op, const std::string&) {
        const QString status = child<QLabel>(r.w(), "lblStatus")->text();
        // What the display shows whenever a target is opened; a second try
        // at the same target shows nothing new.
        const QString now = child<QLabel>(r.w(), "lblFileName")->text().replace("\r\n", " ") +
                            (status.isEmpty() ? "" : " [" + status + "]");
        if (op == Op::OpenWrite && shown.value(shown.size() - 1) != now) shown << now;
        if (op == Op::RemoveDir && shown.value(shown.size() - 1) != "(deleting)")
            shown << (status == "Deleting Directory Structures..." ? "(deleting)" : "removing under [" + status + "]");
    });
    DialogScript script{dialogs, t.root(), {}};
    script.arm();
    r.click();
    if (!child<QLabel>(r.w(), "lblStatus")->text().isEmpty())
        shown << "[" + child<QLabel>(r.w(), "lblStatus")->text() + "]";
    if (!r.closed()) shown << (r.h.endedWith == 0 ? "ended" : "still open");
    QCOMPARE(script.log, dialogs);
    QCOMPARE(shown.join(", "), trail);
    QCOMPARE(changes(before, snapshot(t.root()), t.root()), after);
    QCOMPARE(r.h.fs.openHandles(), 0);
    // The closing steps run only when the window closes; the bar keeps the
    // last value it was given.
    QCOMPARE(r.h.stored("Options", "LDU"), r.closed() ? std::optional<std::string>(dest) : std::nullopt);
    if (lastValue >= 0) QCOMPARE(r.w().cpbProgress->Value(), lastValue);
}

}  // namespace farsend::test
