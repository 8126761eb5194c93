#include <gtest/gtest.h>

#include <map>

#include "about/ProgramInfo.h"
#include "about/SysInfo.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

TEST(ProgramInfo, VersionLineHasPlainNumbersAndTheFixedDate) {
    EXPECT_EQ(versionLine(3, 1) + "|" + versionLine(3, 10) + "|" + versionLine(4, 0),
              "Version 3.1 (3/9/98)|Version 3.10 (3/9/98)|Version 4.0 (3/9/98)");
}

class FakeSource final : public ISysInfoSource {
public:
    bool GetKeyValue(SysInfoKey key, std::string& KeyVal) override {
        ++asked;
        auto it = values.find(key);
        KeyVal = it == values.end() ? std::string() : it->second;
        return it != values.end();
    }
    bool startProgram(const std::string& path) override {
        started += path;
        return startWorks;
    }
    std::map<SysInfoKey, std::string> values;
    int asked = 0;
    std::string started;
    bool startWorks = true;
};

// The first source wins without asking the second; the second only counts
// with the program itself in its folder; whatever fails is told the user.
TEST(SysInfo, LooksUpAndStartsTheProgramOrSaysItIsUnavailable) {
    const std::string prog = kSysInfoProgramName;
    struct Case {
        const char* path;    // first source, nullptr: none
        const char* folder;  // second source under the scratch folder, nullptr: none
        bool startWorks;
        std::string expected;  // "asked started result", "~" for the scratch folder
    } cases[] = {
        {"/opt/si", "bin", true, "1 /opt/si /opt/si"},
        {nullptr, "bin", true, "2 ~/bin/" + prog + " ~/bin/" + prog},
        {nullptr, "bin/", true, "2 ~/bin/" + prog + " ~/bin/" + prog},
        {nullptr, "other", true, "2  none"},  // a folder of that name is no program
        {nullptr, "empty", true, "2  none"},
        {nullptr, "missing", true, "2  none"},
        {nullptr, nullptr, true, "2  none"},
        {"/opt/si", nullptr, false, "1 /opt/si none"},
    };
    test::TempTree tree;
    test::FaultyFileSystem fs;
    tree.file("bin/" + prog, "#!/bin/sh\n");
    tree.dir("other/" + prog);
    tree.file("empty/something-else");
    for (const Case& c : cases) {
        FakeSource source;
        test::ScriptedPrompts prompts;
        source.startWorks = c.startWorks;
        if (c.path) source.values[SysInfoKey::ToolPath] = c.path;
        if (c.folder) source.values[SysInfoKey::ToolFolder] = tree.root() + "/" + c.folder;
        const std::optional<std::string> result = StartSysInfo(source, fs, prompts);
        std::string seen = std::to_string(source.asked) + " " + source.started + " " + result.value_or("none");
        for (std::size_t at; (at = seen.find(tree.root())) != std::string::npos;)
            seen.replace(at, tree.root().size(), "~");
        EXPECT_EQ(seen, c.expected);
        EXPECT_EQ(prompts.log, result ? std::vector<std::string>{}
                                      : std::vector<std::string>{
                                            "message Farsend 98: System Information Is Unavailable At This Time"});
    }
}

}  // namespace
}  // namespace farsend
