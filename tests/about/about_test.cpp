#include <gtest/gtest.h>

#include "about/SysInfo.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

using namespace farsend;

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
    test::FaultyFileSystem fs;
    const std::string prog = kSysInfoProgramName, bin = tree.path("bin"), binSlash = bin + "/",
                      other = tree.path("other");
    const std::string empty = tree.dir("empty"),
                      program = tree.file("bin/" + prog, "#!/bin/sh\n") + " " + bin + "/" + prog;
    tree.dir("other/" + prog);  // a folder of that name is no program
    const std::string unavailable = " |message Farsend 98: System Information Is Unavailable At This Time";
    const std::tuple<const char*, const char*, bool, std::string> cases[] = {
        {"/opt/si", bin.c_str(), true, "? /opt/si /opt/si"}, {nullptr, bin.c_str(), true, "?? " + program},
        {nullptr, binSlash.c_str(), true, "?? " + program},  {nullptr, other.c_str(), true, "??" + unavailable},
        {nullptr, empty.c_str(), true, "??" + unavailable},  {nullptr, "/nowhere", true, "??" + unavailable},
        {nullptr, nullptr, true, "??" + unavailable},        {"/opt/si", nullptr, false, "? /opt/si" + unavailable}};
    for (const auto& [path, folder, startWorks, expected] : cases) {
        Source source(path, folder, startWorks);
        test::ScriptedPrompts prompts;
        const std::optional<std::string> started = StartSysInfo(source, fs, prompts);
        EXPECT_EQ(source.seen + " " + started.value_or("") + (prompts.log.empty() ? "" : "|" + prompts.log[0]),
                  expected);
    }
}
