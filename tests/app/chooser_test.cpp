#include "app/Chooser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "support/FaultyFileSystem.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

using V = std::vector<std::string>;

TEST(WordCheck, PatternsMatchInTableOrderAndCase) {
    EXPECT_EQ(matchedWordPatterns("/porn/sex"), (V{"*sex*", "*porn*"}));
    EXPECT_EQ(matchedWordPatterns("/x/babestitspussy"), (V{"*tits*", "*pussy*", "*babes*"}));
    EXPECT_EQ(matchedWordPatterns("/sexsex/Essex"), V{"*sex*"});
    EXPECT_EQ(matchedWordPatterns("/PORN/Sex"), V{});
}

TEST(DriveFailure, OnlyDeviceDiskAndAccessFailuresCount) {
    const std::pair<int, DriveFailure> cases[] = {
        {ENXIO, DriveFailure::DeviceUnavailable}, {EIO, DriveFailure::DiskNotReady},
        {ESTALE, DriveFailure::DiskNotReady},     {ETIMEDOUT, DriveFailure::DiskNotReady},
        {EPERM, DriveFailure::AccessError},       {ENOENT, DriveFailure::None}};
    for (const auto& [number, kind] : cases) EXPECT_EQ(driveFailureOf(Error::fromErrno(number)), kind) << number;
}

TEST(FolderText, NormalizedAndChainedFromTheVolumeRoot) {
    EXPECT_EQ(normalizedFolder("/a//b/./c/", ""), "/a/b/c");
    EXPECT_EQ(normalizedFolder("/..", ""), "/");
    EXPECT_EQ(normalizedFolder("../x ", "/home/u"), "/home/x ");
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/b/x"), (V{"/mnt/b", "/mnt/b/x"}));
    EXPECT_EQ(folderChain("/mnt/b", "/mnt/bc"), V{"/mnt/b"});
}

// OK in Create New Directory: the name as typed, never reaching outside the
// parent; what the file system refuses is told and keeps the dialog open; a
// folder made but not entered is told and the dialog closes.
TEST(NewFolder, MadeInsideTheParentAndEntered) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    fs.failOn(test::Op::MakeDir, "Refused", EACCES);
    tree.dir("Old");
    const std::string refusal = std::string("message Farsend 98: ") + kFolderNameRefusal;
    const std::pair<const char*, std::string> cases[] = {
        {"Work", "closes, entered ~/Work/"},
        {" My Work ", "closes, entered ~/ My Work /"},
        {"Locked", "closes, entered ~/Locked/|message Farsend 98: " + std::string(std::strerror(EACCES))},
        {"Refused", "stays|message Farsend 98: " + std::string(std::strerror(EACCES))},
        {"Old", "stays|message Farsend 98: " + std::string(std::strerror(EEXIST))},
        {"/", "stays|" + refusal},
        {"../escape", "stays|" + refusal},
        {".", "stays|" + refusal},
        {"..", "stays|" + refusal}};
    for (const auto& [name, expected] : cases) {
        test::ScriptedPrompts prompts;
        std::string seen;
        const bool closes = makeNewFolder(fs, prompts, tree.root() + "/", name, [&seen](const std::string& folder) {
            seen = ", entered " + folder;
            return folder.find("Locked") == std::string::npos ? Status{} : Status{Error::fromErrno(EACCES)};
        });
        seen = (closes ? "closes" : "stays") + seen;
        for (const std::string& line : prompts.log) seen += "|" + line;
        for (std::size_t at; (at = seen.find(tree.root())) != std::string::npos;)
            seen.replace(at, tree.root().size(), "~");
        EXPECT_EQ(seen, expected) << name;
    }
    EXPECT_EQ(upperPathOf("/") + "|" + upperPathOf("/data"), "/|/data/");
    EXPECT_FALSE(test::TempTree::exists(tree.path("escape")));
}

}  // namespace
}  // namespace farsend
