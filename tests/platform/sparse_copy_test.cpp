// The byte copy through the real file system with sparse inputs: every
// byte reads back as in the source, holes stay holes, and a replaced
// file's former content is gone from the holes too.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

using test::TempTree;

constexpr std::int64_t kMiB = 1 << 20;

// Data at the start, a hole, data in the middle, and a hole to the end.
struct Extent {
    std::int64_t offset;
    std::int64_t length;
};
constexpr std::int64_t kLength = 3 * kMiB + 123;
const std::vector<Extent> kData{{0, 5000}, {kMiB + 4096, 70000}};

std::string expectedBytes() {
    std::string bytes(static_cast<std::size_t>(kLength), '\0');
    for (const Extent& e : kData)
        for (std::int64_t i = 0; i < e.length; ++i)
            bytes[static_cast<std::size_t>(e.offset + i)] = static_cast<char>('a' + (e.offset + i) % 26);
    return bytes;
}

void makeSparse(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::string bytes = expectedBytes();
    for (const Extent& e : kData)
        ASSERT_EQ(::pwrite(fd, bytes.data() + e.offset, static_cast<std::size_t>(e.length), e.offset), e.length);
    ASSERT_EQ(::ftruncate(fd, kLength), 0);
    ::close(fd);
}

std::int64_t allocated(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return static_cast<std::int64_t>(st.st_blocks) * 512;
}

enum class Target { Absent, LongerFull, ShorterFull };

struct SparseCase {
    const char* name;
    Target target;
    std::int64_t piece;  // the pieces the copy is asked for, as the engine's pacing asks
    bool holesKept;      // pieces too small to look for holes write zeros
};
void PrintTo(const SparseCase& c, std::ostream* os) { *os << c.name; }

class SparseCopy : public ::testing::TestWithParam<SparseCase> {};

TEST_P(SparseCopy, ReadsBackExactlyAndKeepsHoles) {
    const SparseCase& c = GetParam();
    TempTree t;
    const std::string src = t.path("src.bin");
    const std::string dst = t.path("dst.bin");
    makeSparse(src);
    // A file system without holes cannot show them kept.
    const bool sparseHere = allocated(src) < kMiB;
    if (c.target == Target::LongerFull) t.file("dst.bin", std::string(static_cast<std::size_t>(4 * kMiB), 'x'));
    if (c.target == Target::ShorterFull) t.file("dst.bin", std::string(static_cast<std::size_t>(2 * kMiB), 'y'));

    IFileSystem& fs = realFileSystem();
    const auto in = fs.openRead(src);
    ASSERT_TRUE(in.ok());
    const auto out = fs.openWrite(dst, 0644);
    ASSERT_TRUE(out.ok());
    std::int64_t done = 0;
    while (done < kLength) {
        const auto moved = fs.copyRange(*in, *out, std::min(c.piece, kLength - done));
        ASSERT_TRUE(moved.ok()) << moved.error().description;
        ASSERT_GT(*moved, 0) << "at " << done;
        done += *moved;
    }
    EXPECT_EQ(done, kLength);
    EXPECT_EQ(*fs.copyRange(*in, *out, c.piece), 0);  // the end of the input
    // As the engine does: only a replaced file is cut to length; a new one
    // must come out whole by itself, trailing hole included.
    if (c.target != Target::Absent) {
        ASSERT_TRUE(fs.setLength(*out, kLength).ok());
    }
    ASSERT_TRUE(fs.close(*out).ok());
    ASSERT_TRUE(fs.close(*in).ok());

    EXPECT_TRUE(TempTree::read(dst) == expectedBytes()) << "the copy differs from the source";
    if (sparseHere && c.holesKept) {
        EXPECT_LT(allocated(dst), kMiB) << "holes written out";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SparseCopy,
    ::testing::Values(SparseCase{"new file, whole", Target::Absent, 64 * kMiB, true},
                      SparseCase{"new file, 64 KiB pieces", Target::Absent, 64 * 1024, true},
                      SparseCase{"new file, odd pieces", Target::Absent, 100000, true},
                      SparseCase{"new file, small pieces", Target::Absent, 4096, false},
                      SparseCase{"over a longer full file, whole", Target::LongerFull, 64 * kMiB, true},
                      SparseCase{"over a longer full file, odd pieces", Target::LongerFull, 100000, true},
                      SparseCase{"over a longer full file, small pieces", Target::LongerFull, 4096, false},
                      SparseCase{"over a shorter full file", Target::ShorterFull, 100000, true}),
    [](const ::testing::TestParamInfo<SparseCase>& param) {
        std::string n = param.param.name;
        std::replace_if(
            n.begin(), n.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
        return n;
    });

}  // namespace
}  // namespace farsend
