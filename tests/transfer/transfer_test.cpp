// The engine's rules with a scripted window: the byte copy whatever its
// pacing, huge and shrinking files, many small files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "ScriptedUi.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"
#include "transfer/TransferEngine.h"

using namespace farsend;
using namespace farsend::test;
namespace fsys = std::filesystem;

namespace {

struct Rig {
    TempTree tree;
    FaultyFileSystem fs;
    ScriptedUi ui;
    bool yesToAll = false;
    bool noToAll = false;
    CFiles search{fs, &ui};
    TransferEngine engine{fs, ui, ui, ReplaceAll{yesToAll, noToAll}, [this]() -> CFiles& { return search; }};
    Rig() { ui.destination = tree.dir("dest"); }
};

void setPiece(TransferEngine& e, std::int64_t piece) {
    e.pacing.firstPiece = e.pacing.minPiece = e.pacing.maxPiece = piece;
}

}  // namespace

struct PieceCase {
    std::int64_t size;
    std::int64_t piece;
};

class CopyPaced : public ::testing::TestWithParam<PieceCase> {};

// However the bytes are moved, every whole chunk gets its value in order
// and the copy is exact.
TEST_P(CopyPaced, SameValuesAndBytesForAnyPieceSize) {
    Rig r;
    const std::string src = r.tree.patterned("src.bin", GetParam().size);
    r.tree.file("dest/t.bin", std::string(GetParam().size + 5000, 'x'));  // longer: must be cut
    setPiece(r.engine, GetParam().piece);
    ASSERT_TRUE(r.engine.CopyFileData(src, r.ui.destination + "/t.bin"));
    std::vector<std::int32_t> expected;
    for (std::int64_t k = 1; k <= GetParam().size / 25000; ++k) expected.push_back(chunkPercent(k, GetParam().size));
    EXPECT_EQ(r.ui.values, expected);
    EXPECT_EQ(TempTree::read(r.ui.destination + "/t.bin"), TempTree::read(src));
    EXPECT_EQ(r.fs.openHandles(), 0);
    EXPECT_EQ(r.ui.messages, 0);
}

INSTANTIATE_TEST_SUITE_P(Pieces, CopyPaced,
                         ::testing::Values(PieceCase{60000, 4096}, PieceCase{60000, 25000}, PieceCase{60000, 1 << 20},
                                           PieceCase{1000001, 4096}, PieceCase{1000001, 77777},
                                           PieceCase{1000001, 64 << 20}, PieceCase{0, 4096}, PieceCase{24999, 4096}));

TEST(CopyFileData, HugeSparseFileCopiedWhole) {
    Rig r;
    const std::int64_t size = (std::int64_t{1} << 32) + 12345;
    const std::string src = r.tree.path("huge.bin");
    {
        std::ofstream out(src, std::ios::binary);
        out << 'A';
    }
    fsys::resize_file(src, static_cast<std::uintmax_t>(size));
    const std::int64_t marks[] = {(std::int64_t{1} << 31) - 1, std::int64_t{1} << 31, (std::int64_t{1} << 32) + 7,
                                  size - 1};
    {
        std::fstream io(src, std::ios::binary | std::ios::in | std::ios::out);
        for (std::int64_t m : marks) {
            io.seekp(m);
            io.put(static_cast<char>('a' + (m % 26)));
        }
    }
    const std::string target = r.ui.destination + "/huge.bin";
    ASSERT_TRUE(r.engine.CopyFileData(src, target));
    EXPECT_EQ(fsys::file_size(target), static_cast<std::uintmax_t>(size));
    std::ifstream in(target, std::ios::binary);
    char c = 0;
    in.get(c);
    EXPECT_EQ(c, 'A');
    for (std::int64_t m : marks) {
        in.seekg(m);
        in.get(c);
        EXPECT_EQ(c, static_cast<char>('a' + (m % 26))) << "at " << m;
    }
    in.seekg(12345678);
    in.get(c);
    EXPECT_EQ(c, '\0');
    ASSERT_EQ(r.ui.values.size(), static_cast<std::size_t>(size / 25000));
    EXPECT_EQ(r.ui.values.back(), 100);
    EXPECT_EQ(r.ui.values[85899], 50);
    fsys::remove(target);
    fsys::remove(src);
}

TEST(CopyFileData, SourceShrinkingMidCopyIsAFailureAndMoveKeepsIt) {
    Rig r;
    const std::string src = r.tree.patterned("src/a.bin", 300000);
    bool cut = false;
    r.fs.onCall([&](Op op, const std::string& path) {
        if (op == Op::Read && !cut && path == src) {
            cut = true;
            fsys::resize_file(src, 1000);
        }
    });
    ASSERT_EQ(r.engine.fileStep(src, TransferMode::Move), StepOutcome::Continue);
    EXPECT_TRUE(cut);
    EXPECT_EQ(r.ui.messages, 1);
    EXPECT_TRUE(TempTree::exists(src));
    EXPECT_EQ(r.fs.openHandles(), 0);
}

TEST(FolderTransfer, EventsProcessedWhileManySmallFilesCopy) {
    Rig r;
    const std::string src = r.tree.dir("Src");
    for (int i = 0; i < 30; ++i) r.tree.file("Src/f" + std::to_string(i), "x");
    r.engine.pacing.eventInterval = std::chrono::microseconds(0);
    ASSERT_EQ(r.engine.copyFolder(src), StepOutcome::Continue);
    // Files under one chunk set no value, yet the window is not starved.
    EXPECT_TRUE(r.ui.values.empty());
    EXPECT_GE(r.ui.passes, 30);
}
