#include "app/Selection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

using test::Op;
using Pieces = std::vector<std::string>;

class ParseCommandTest : public ::testing::Test {
protected:
    std::optional<ParseFailure> parse(const Pieces& pieces) {
        count = 0;
        return parseCommand(fs, pieces, files, count);
    }
    Pieces stored() const { return {files.begin(), files.begin() + count}; }

    test::TempTree tree;
    test::FaultyFileSystem fs;
    SelectionArray files{};
    std::int16_t count = 0;
};

TEST_F(ParseCommandTest, EachPieceBecomesItsEntryInOrder) {
    const std::string file = tree.file("b.txt"), dir = tree.dir("Letters");
    tree.file("sub/.h");
    tree.file(".aXb");  // ".a*b" taken as a search pattern would find this
    const std::string odd = tree.file(".a*b"), viaDots = tree.root() + "/sub/../sub/.h";
    EXPECT_FALSE(parse({file, dir + "//", odd, viaDots}));
    EXPECT_EQ(stored(), (Pieces{file, dir, odd, viaDots}));
    EXPECT_EQ(fs.calls(Op::List, "*"), 0);
}

TEST_F(ParseCommandTest, PlainFileIsTakenWithoutSearchButHiddenOneIsSearched) {
    const std::string plain = tree.file("plain.txt"), hidden = tree.file(".hidden");
    fs.failOn(Op::List, tree.root(), EIO);
    EXPECT_FALSE(parse({plain}));
    EXPECT_EQ(fs.calls(Op::List), 0);
    const auto failure = parse({plain, hidden});
    ASSERT_TRUE(failure);
    EXPECT_EQ(std::pair(failure->kind, failure->error.number), std::pair(ParseFailureKind::Other, EIO));
    EXPECT_EQ(stored(), Pieces{plain});
}

TEST_F(ParseCommandTest, HoldsTwentyOneEntries) {
    const Pieces many(kSelectionCapacity + 1, tree.file("a.txt"));
    EXPECT_FALSE(parse({many.begin(), many.end() - 1}));
    const auto failure = parse(many);
    ASSERT_TRUE(failure);
    EXPECT_EQ(std::pair(failure->kind, int(count)), std::pair(ParseFailureKind::OutOfRange, kSelectionCapacity));
}

TEST_F(ParseCommandTest, PieceNamingNothingStopsTheList) {
    const std::string a = tree.file("a.txt"), d = tree.dir("d");
    tree.dir("My Documents");
    for (const Pieces& bad : {Pieces{""}, Pieces{a + "/x"}, Pieces{tree.path("My"), "Documents"}, Pieces{d + "/."},
                              Pieces{d + "/.."}, Pieces{"/"}, Pieces{"//"}}) {
        Pieces pieces{a};
        pieces.insert(pieces.end(), bad.begin(), bad.end());
        pieces.push_back(a);
        const auto failure = parse(pieces);
        ASSERT_TRUE(failure) << bad[0];
        EXPECT_EQ(std::pair(failure->kind, int(count)), std::pair(ParseFailureKind::NotFound, 1)) << bad[0];
    }
}

// The three lines, the mode word from the caption as it stands; an entry
// that can no longer be read shows its last component without a folder mark.
TEST(Display, ThreeLinesNameTheEntryAsFound) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    const std::string folder = tree.dir("Letters"), stale = tree.dir("Stale");
    fs.failOn(Op::Stat, "Stale", ESTALE);
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {tree.file("Report.doc"), "&Copy", "Copy\r\n/Report.doc\r\nTo:"},
        {folder, "&Move", "Move\r\n/Letters/\r\nTo:"},
        {tree.file(".profile"), "&copy", "copy\r\n/.profile\r\nTo:"},
        {tree.path("gone"), "Go", "Go\r\n/gone\r\nTo:"},
        {stale, "&Copy", "Copy\r\n/Stale\r\nTo:"},
    };
    for (const auto& [entry, caption, shown] : cases) EXPECT_EQ(selectionDisplay(fs, caption, entry), shown) << entry;
}

}  // namespace
}  // namespace farsend
