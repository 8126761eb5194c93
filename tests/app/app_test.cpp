// The application shell's rules: the selection list and its display; the
// destination chooser's word check, drive failures, folder texts and new
// folders; and how the About box starts the system-information program.
#include <gtest/gtest.h>

#include <cstring>

#include "about/SysInfo.h"
#include "app/Chooser.h"
#include "app/Selection.h"
#include "support/PathFaults.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

using namespace farsend;
using test::Op;
using Texts = std::vector<std::string>;

// texts joined by sep, with root (the scratch folder) written "~".
static std::string shown(const Texts& texts, const char* sep = " ", const std::string& root = "/none") {
    std::string out = test::join(texts, sep);
    for (std::size_t at; (at = out.find(root)) != std::string::npos;) out.replace(at, root.size(), "~");
    return out;
}

// Each piece becomes its entry, in order, until the first that names nothing
// (NotFound), the 22nd (OutOfRange) or one whose search fails (Other). A
// plain file is taken without a search; a name is never searched as a pattern.
TEST(Selection, EntriesInOrderUntilTheFirstFailure) {
    test::TempTree t;
    test::PathFaults faults;
    IFileSystem& fs = realFileSystem();
    for (const char* f : {"a.txt", "sub/.h", ".aXb", ".a*b", ".hidden"}) t.file(f);  // ".a*b" would find ".aXb"
    t.build("Letters/;My Documents/");
    faults.failOn(Op::Stat, ".hidden", EIO);  // a failure that is no "not found"
    const Texts many(kSelectionCapacity + 1, "~/a.txt");
    const std::string all = shown({many.begin(), many.end() - 1}), notFound = "~/a.txt !0";
    const std::pair<Texts, std::string> cases[] = {
        {{"~/a.txt", "~/Letters//", "~/.a*b", "~/sub/../sub/.h"}, "~/a.txt ~/Letters ~/.a*b ~/sub/../sub/.h"},
        {{"~/a.txt", "~/.hidden"}, "~/a.txt !2"},
        {{many.begin(), many.end() - 1}, all},
        {many, all + " !1"},
        {{}, " !0"},
        {{"~/a.txt", "", "~/a.txt"}, notFound},
        {{"~/a.txt", "~/a.txt/x"}, notFound},
        {{"~/a.txt", "~/My", "Documents"}, notFound},
        {{"~/a.txt", "~/Letters/."}, notFound},
        {{"~/a.txt", "~/Letters/.."}, notFound},
        {{"~/a.txt", "//"}, notFound}};
    for (const auto& [pieces, expected] : cases) {
        Texts args;
        for (const std::string& p : pieces) args.push_back(p.rfind("~/", 0) == 0 ? t.root() + p.substr(1) : p);
        SelectionArray entries{};
        std::int16_t count = 0;
        const auto failure = parseCommand(fs, args, entries, count);
        std::string seen = shown({entries.begin(), entries.begin() + count}, " ", t.root());
        if (failure) seen += " !" + std::to_string(int(failure->kind));
        EXPECT_EQ(seen, expected) << shown(pieces);
    }
    EXPECT_EQ(faults.listings(), 0);  // no folder is listed
}

// The three lines, the mode word from the caption as it stands; an entry
// that can no longer be read shows its last component without a folder mark.
TEST(Selection, DisplayNamesTheEntryAsFound) {
    test::TempTree t;
    test::PathFaults faults;
    IFileSystem& fs = realFileSystem();
    faults.failOn(Op::Stat, "Stale", ESTALE);
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {t.file("Report.doc"), "&Copy", "Copy\r\n/Report.doc\r\nTo:"},
        {t.dir("Letters"), "&Move", "Move\r\n/Letters/\r\nTo:"},
        {t.file(".profile"), "&copy", "copy\r\n/.profile\r\nTo:"},
        {t.path("gone"), "Go", "Go\r\n/gone\r\nTo:"},
        {t.dir("Stale"), "&Copy", "Copy\r\n/Stale\r\nTo:"}};
    for (const auto& [entry, caption, expected] : cases) EXPECT_EQ(selectionDisplay(fs, caption, entry), expected);
}

// The word check's patterns, in order and case-sensitive; the drive failures
// that end the program; folder texts as the folder list keeps them.
TEST(Chooser, WordsDrivesAndFolderTexts) {
    std::string seen;
    for (const char* path : {"/porn/sex", "/x/babestitspussy", "/sexsex/Essex", "/PORN/Sex"})
        seen += shown(matchedWordPatterns(path), ",") + "|";
    for (const int number : {ENODEV, ENXIO, EIO, ENOMEDIUM, ESTALE, ETIMEDOUT, EACCES, EPERM, ENOENT, ENOTDIR})
        seen += std::to_string(int(driveFailureOf(Error::fromErrno(number)))) + " ";
    seen += normalizedFolder("/a//b/./c/", "") + " " + normalizedFolder("/..", "") + " " +
            normalizedFolder("../x ", "/u/v");
    seen += "|" + shown(folderChain("/mnt/b", "/mnt/b/x"), ",") + "|" + shown(folderChain("/mnt/b", "/mnt/bc"), ",");
    EXPECT_EQ(seen,
              "*sex*,*porn*|*tits*,*pussy*,*babes*|*sex*||68 68 71 71 71 71 75 75 0 0 /a/b/c / /u/x |/mnt/b,/mnt/b/x|"
              "/mnt/b");
}

// OK in Create New Directory: the name as typed, never reaching outside the
// parent; what the file system refuses is told and keeps the dialog open; a
// folder made but not entered is told and the dialog closes.
TEST(Chooser, NewFolderMadeInsideTheParentAndEntered) {
    test::TempTree t;
    test::PathFaults faults;
    IFileSystem& fs = realFileSystem();
    faults.failOn(Op::MakeDir, "Refused", EACCES);
    t.dir("Old");
    const std::string told = "|message Farsend 98: ", refusal = told + kFolderNameRefusal,
                      refused = told + std::strerror(EACCES);
    const std::pair<const char*, std::string> cases[] = {{"Work", "closes ~/Work/"},
                                                         {" My Work ", "closes ~/ My Work /"},
                                                         {"Locked", "closes ~/Locked/" + refused},
                                                         {"Refused", "stays" + refused},
                                                         {"../escape", "stays" + refusal},
                                                         {".", "stays" + refusal},
                                                         {"..", "stays" + refusal},
                                                         {"Old", "stays" + told + std::strerror(EEXIST)},
                                                         {"", "stays" + told + kFolderNameEmpty}};
    for (const auto& [name, expected] : cases) {
        test::ScriptedPrompts prompts;
        std::string entered;
        const bool closes = makeNewFolder(fs, prompts, upperPathOf(t.root()), name, [&entered](const std::string& f) {
            entered = " " + f;
            return f.find("Locked") == std::string::npos ? Status{} : Status{Error::fromErrno(EACCES)};
        });
        std::string seen = (closes ? "closes" : "stays") + entered;
        for (const std::string& line : prompts.log) seen += "|" + line;
        EXPECT_EQ(shown({seen}, " ", t.root()), expected);
    }
    EXPECT_EQ(upperPathOf("/") + upperPathOf("/data"), "//data/");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(t.path("escape"))));
}

// The first source wins without asking the second; the second only counts
// with the program itself in its folder; whatever fails is told the user.
TEST(SysInfo, StartsTheProgramOrSaysItIsUnavailable) {
    struct Source final : ISysInfoSource {
        Source(const char* p, const char* f, bool works) : path(p), folder(f), startWorks(works) {}
        const char *path, *folder;
        bool startWorks;
        std::string seen;  // what was asked and started
        bool GetKeyValue(SysInfoKey key, std::string& KeyVal) override {
            const char* value = key == SysInfoKey::ToolPath ? path : folder;
            seen += "?", KeyVal = value ? value : "";
            return value != nullptr;
        }
        bool startProgram(const std::string& p) override { return seen += " " + p, startWorks; }
    };
    test::TempTree tree;
    IFileSystem& fs = realFileSystem();
    const std::string prog = kSysInfoProgramName, bin = tree.path("bin"), other = tree.path("other");
    const std::string empty = tree.dir("empty"),
                      program = tree.file("bin/" + prog, "#!/bin/sh\n") + " " + bin + "/" + prog;
    tree.dir("other/" + prog);  // a folder of that name is no program
    const std::string unavailable = " |message Farsend 98: System Information Is Unavailable At This Time";
    const std::tuple<const char*, const char*, bool, std::string> cases[] = {
        {"/opt/si", bin.c_str(), true, "? /opt/si /opt/si"},   {nullptr, bin.c_str(), true, "?? " + program},
        {nullptr, other.c_str(), true, "??" + unavailable},    {nullptr, empty.c_str(), true, "??" + unavailable},
        {nullptr, "/nowhere", true, "??" + unavailable},       {nullptr, nullptr, true, "??" + unavailable},
        {"/opt/si", nullptr, false, "? /opt/si" + unavailable}};
    for (const auto& [path, folder, startWorks, expected] : cases) {
        Source source(path, folder, startWorks);
        test::ScriptedPrompts prompts;
        const std::optional<std::string> started = StartSysInfo(source, fs, prompts);
        EXPECT_EQ(source.seen + " " + started.value_or("") + (prompts.log.empty() ? "" : "|" + prompts.log[0]),
                  expected);
    }
}
