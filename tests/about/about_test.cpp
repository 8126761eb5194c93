#include <gtest/gtest.h>

#include <map>

#include "about/ProgramInfo.h"
#include "about/SysInfo.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

TEST(ProgramInfo, VersionLineHasPlainNumbersAndTheFixedDate) {
    EXPECT_EQ(versionLine(3, 1), "Version 3.1 (3/9/98)");
    EXPECT_EQ(versionLine(3, 10), "Version 3.10 (3/9/98)");
    EXPECT_EQ(versionLine(4, 0), "Version 4.0 (3/9/98)");
}

class FakeSource final : public ISysInfoSource {
public:
    bool GetKeyValue(SysInfoKey key, std::string& KeyVal) override {
        asked.push_back(key);
        auto it = values.find(key);
        if (it == values.end()) {
            KeyVal.clear();
            return false;
        }
        KeyVal = it->second;
        return true;
    }
    bool startProgram(const std::string& path) override {
        started.push_back(path);
        return startWorks;
    }
    std::map<SysInfoKey, std::string> values;
    std::vector<SysInfoKey> asked;
    std::vector<std::string> started;
    bool startWorks = true;
};

class SysInfoTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::FaultyFileSystem fs;
    FakeSource source;
};

TEST_F(SysInfoTest, FirstSourceWinsWithoutAskingTheSecond) {
    source.values[SysInfoKey::ToolPath] = "/opt/tools/sysinfo";
    source.values[SysInfoKey::ToolFolder] = tree.root();
    EXPECT_EQ(StartSysInfo(source, fs), "/opt/tools/sysinfo");
    EXPECT_EQ(source.asked, std::vector<SysInfoKey>{SysInfoKey::ToolPath});
    EXPECT_EQ(source.started, std::vector<std::string>{"/opt/tools/sysinfo"});
}

TEST_F(SysInfoTest, SecondSourceOnlyWithTheProgramInItsFolder) {
    tree.file(std::string("bin/") + kSysInfoProgramName, "#!/bin/sh\n");
    source.values[SysInfoKey::ToolFolder] = tree.path("bin");
    const std::string expected = tree.path("bin/") + kSysInfoProgramName;
    EXPECT_EQ(StartSysInfo(source, fs), expected);
    EXPECT_EQ(source.asked, (std::vector<SysInfoKey>{SysInfoKey::ToolPath, SysInfoKey::ToolFolder}));
    EXPECT_EQ(source.started, std::vector<std::string>{expected});
}

TEST_F(SysInfoTest, SecondSourceFolderWithATrailingSeparator) {
    tree.file(std::string("bin/") + kSysInfoProgramName);
    source.values[SysInfoKey::ToolFolder] = tree.path("bin/");
    EXPECT_EQ(StartSysInfo(source, fs), tree.path("bin/") + kSysInfoProgramName);
}

TEST_F(SysInfoTest, SecondSourceOnlyWithoutTheProgramStartsNothing) {
    tree.file("bin/something-else");
    tree.dir(std::string("other/") + kSysInfoProgramName);  // a folder of that name is no program
    for (const char* folder : {"bin", "other", "missing"}) {
        source.values[SysInfoKey::ToolFolder] = tree.path(folder);
        EXPECT_EQ(StartSysInfo(source, fs), std::nullopt) << folder;
    }
    EXPECT_TRUE(source.started.empty());
}

TEST_F(SysInfoTest, NeitherSourceOrAFailedStartIsUnavailable) {
    EXPECT_EQ(StartSysInfo(source, fs), std::nullopt);
    source.values[SysInfoKey::ToolPath] = "/opt/tools/sysinfo";
    source.startWorks = false;
    EXPECT_EQ(StartSysInfo(source, fs), std::nullopt);
    EXPECT_EQ(source.started.size(), 1u);
}

}  // namespace
}  // namespace farsend
