#include "app/Selection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

using test::FaultyFileSystem;
using test::Op;
using test::TempTree;

class ParseCommandTest : public ::testing::Test {
protected:
    std::optional<ParseFailure> parse(const std::vector<std::string>& pieces) {
        return parseCommand(fs, pieces, files, count);
    }

    TempTree tree;
    FaultyFileSystem fs;
    SelectionArray files{};
    std::int16_t count = 0;
};

TEST_F(ParseCommandTest, StoresEachPieceInOrder) {
    const std::string a = tree.file("b.txt", "x"), b = tree.dir("Letters"), c = tree.file("a.txt", "y");
    EXPECT_FALSE(parse({a, b, c}));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(files[0], a);
    EXPECT_EQ(files[1], b);
    EXPECT_EQ(files[2], c);
    EXPECT_EQ(files[3], "");
}

TEST_F(ParseCommandTest, FolderGivenWithTrailingSeparatorsHasNone) {
    const std::string dir = tree.dir("Letters");
    EXPECT_FALSE(parse({dir + "//"}));
    EXPECT_EQ(files[0], dir);
}

TEST_F(ParseCommandTest, PlainFileIsTakenWithoutSearchButHiddenOneIsSearched) {
    const std::string plain = tree.file("plain.txt"), hidden = tree.file(".hidden");
    // Attribute value 0 takes the piece as it stands: a broken search cannot touch it.
    fs.failOn(Op::List, tree.root(), EIO);
    EXPECT_FALSE(parse({plain}));
    EXPECT_EQ(files[0], plain);
    EXPECT_EQ(fs.calls(Op::List), 0);

    const auto failure = parse({hidden});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, ParseFailureKind::Other);
    EXPECT_EQ(failure->error.number, EIO);
    EXPECT_EQ(count, 1);

    fs.clearFaults();
    EXPECT_FALSE(parse({hidden}));
    EXPECT_EQ(files[1], hidden);
}

TEST_F(ParseCommandTest, NameWithWildcardsIsNotTakenAsPattern) {
    // Hidden, so the entry comes from a search; as a pattern ".a*b" would also find ".aXb".
    tree.file(".aXb");
    const std::string odd = tree.file(".a*b");
    tree.file(".aYb");
    EXPECT_FALSE(parse({odd}));
    EXPECT_EQ(files[0], odd);
    // Which match a pattern search finds first depends on the directory's
    // order, so also make sure no pattern search was made.
    EXPECT_EQ(fs.calls(Op::List, "*"), 0);
}

TEST_F(ParseCommandTest, TwentyOneFitAndTheTwentySecondIsOutOfRange) {
    std::vector<std::string> pieces;
    for (int i = 0; i < 22; ++i) pieces.push_back(tree.file("f" + std::to_string(i)));
    auto first21 = std::vector<std::string>(pieces.begin(), pieces.begin() + 21);
    EXPECT_FALSE(parse(first21));
    EXPECT_EQ(count, 21);
    EXPECT_EQ(files[20], pieces[20]);

    count = 0;
    const auto failure = parse(pieces);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, ParseFailureKind::OutOfRange);
    EXPECT_EQ(count, 21);
}

TEST_F(ParseCommandTest, MissingTwentySecondPieceFailsAsNotFoundBeforeCapacity) {
    std::vector<std::string> pieces;
    for (int i = 0; i < 21; ++i) pieces.push_back(tree.file("f" + std::to_string(i)));
    pieces.push_back(tree.path("missing"));
    const auto failure = parse(pieces);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, ParseFailureKind::NotFound);
}

struct FailingPieces {
    const char* name;
    std::vector<std::string> pieces;  // "@" stands for the scratch folder
    ParseFailureKind kind;
    int storedBefore;
};

class ParseFailureTest : public ParseCommandTest, public ::testing::WithParamInterface<FailingPieces> {};

TEST_P(ParseFailureTest, StopsAtTheFailingPiece) {
    tree.file("a.txt");
    tree.dir("d");
    std::vector<std::string> pieces;
    for (std::string p : GetParam().pieces) {
        if (p.rfind('@', 0) == 0) p = tree.root() + p.substr(1);
        pieces.push_back(p);
    }
    fs.failOn(Op::Stat, "broken", EIO);
    const auto failure = parse(pieces);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, GetParam().kind);
    EXPECT_EQ(count, GetParam().storedBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, ParseFailureTest,
    ::testing::Values(FailingPieces{"NoArguments", {}, ParseFailureKind::NotFound, 0},
                      FailingPieces{"EmptyPiece", {"@/a.txt", "", "@/a.txt"}, ParseFailureKind::NotFound, 1},
                      FailingPieces{"Missing", {"@/a.txt", "@/nothing"}, ParseFailureKind::NotFound, 1},
                      FailingPieces{"BelowAFile", {"@/a.txt/x"}, ParseFailureKind::NotFound, 0},
                      FailingPieces{"HalfOfABlankedPath", {"@/My", "Documents"}, ParseFailureKind::NotFound, 0},
                      FailingPieces{"Dot", {"@/d/."}, ParseFailureKind::NotFound, 0},
                      FailingPieces{"DotDot", {"@/d/.."}, ParseFailureKind::NotFound, 0},
                      FailingPieces{"UnreadableAttributes", {"@/a.txt", "@/broken"}, ParseFailureKind::Other, 1}),
    [](const auto& p) { return std::string(p.param.name); });

class DisplayTest : public ::testing::Test {
protected:
    TempTree tree;
    FaultyFileSystem fs;
};

TEST_F(DisplayTest, ModeWordIsTheCaptionsLastFourCharacters) {
    EXPECT_EQ(modeWord("&Copy"), "Copy");
    EXPECT_EQ(modeWord("&Move"), "Move");
    EXPECT_EQ(modeWord("Go"), "Go");
    EXPECT_EQ(modeWord("Transfer"), "sfer");
}

TEST_F(DisplayTest, ThreeLinesWithFolderMark) {
    const std::string file = tree.file("Report.doc"), folder = tree.dir("Letters"), hidden = tree.file(".profile");
    EXPECT_EQ(selectionDisplay(fs, "&Copy", file), "Copy\r\n/Report.doc\r\nTo:");
    EXPECT_EQ(selectionDisplay(fs, "&Move", folder), "Move\r\n/Letters/\r\nTo:");
    EXPECT_EQ(selectionDisplay(fs, "&Copy", hidden), "Copy\r\n/.profile\r\nTo:");
}

TEST_F(DisplayTest, EntryThatCannotBeReadShowsItsLastComponent) {
    const std::string folder = tree.dir("Letters"), file = tree.file("Report.doc");
    EXPECT_EQ(displayName(fs, tree.path("gone")), "/gone");
    fs.failOn(Op::List, "Report", EIO);
    EXPECT_EQ(displayName(fs, file), "/Report.doc");
    fs.failOn(Op::Stat, "Letters", ESTALE);
    EXPECT_EQ(displayName(fs, folder), "/Letters");
}

TEST(EntryOf, FolderPartComesFromThePiece) {
    TempTree tree;
    tree.file("sub/.h");
    EXPECT_EQ(*entryOf(realFileSystem(), tree.root() + "/sub/../sub/.h"), tree.root() + "/sub/../sub/.h");
    EXPECT_FALSE(entryOf(realFileSystem(), tree.path("none")));
}

}  // namespace
}  // namespace farsend
