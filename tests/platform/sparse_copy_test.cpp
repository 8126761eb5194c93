// The byte copy of a sparse file: every byte reads back, holes stay holes,
// and a replaced file's former content is gone from the holes too.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

namespace farsend {
namespace {

constexpr std::int64_t kMiB = 1 << 20, kLength = 3 * kMiB + 123;

// Data at the start, a hole, data in the middle, and a hole to the end.
std::string sparseBytes(const std::string& path) {
    std::string bytes(static_cast<std::size_t>(kLength), '\0');
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (const auto& [offset, length] : {std::pair<std::int64_t, std::int64_t>{0, 5000}, {kMiB + 4096, 70000}}) {
        for (std::int64_t i = offset; i < offset + length; ++i) bytes[static_cast<std::size_t>(i)] = char('a' + i % 26);
        EXPECT_EQ(::pwrite(fd, bytes.data() + offset, static_cast<std::size_t>(length), offset), length);
    }
    EXPECT_EQ(::ftruncate(fd, kLength), 0);
    ::close(fd);
    return bytes;
}

std::int64_t allocated(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return static_cast<std::int64_t>(st.st_blocks) * 512;
}

TEST(SparseCopy, ReadsBackExactlyAndKeepsHoles) {
    struct Case {
        const char* name;
        std::int64_t existing;  // bytes of a full target already there
        std::int64_t piece;     // as the engine's pacing asks for them
        bool holesKept;         // pieces too small to look for holes write zeros
    };
    for (const Case& c :
         {Case{"new, whole", 0, 64 * kMiB, true}, Case{"new, odd pieces", 0, 100000, true},
          Case{"new, small pieces", 0, 4096, false}, Case{"over longer", 4 * kMiB, 100000, true},
          Case{"over longer, small pieces", 4 * kMiB, 4096, false}, Case{"over shorter", 2 * kMiB, 100000, true}}) {
        SCOPED_TRACE(c.name);
        test::TempTree t;
        const std::string src = t.path("src.bin"), dst = t.path("dst.bin");
        const std::string expected = sparseBytes(src);
        const bool sparseHere = allocated(src) < kMiB;  // else the file system keeps no holes
        if (c.existing) t.file("dst.bin", std::string(static_cast<std::size_t>(c.existing), 'x'));

        IFileSystem& fs = realFileSystem();
        const auto in = fs.openRead(src);
        const auto out = fs.openWrite(dst, 0644);
        ASSERT_TRUE(in.ok() && out.ok());
        std::int64_t done = 0;
        while (done < kLength) {
            const auto moved = fs.copyRange(*in, *out, std::min(c.piece, kLength - done));
            ASSERT_TRUE(moved.ok()) << moved.error().description;
            ASSERT_GT(*moved, 0) << "at " << done;
            done += *moved;
        }
        EXPECT_EQ(*fs.copyRange(*in, *out, c.piece), 0);
        // As the engine does: only a replaced file is cut to length.
        if (c.existing) {
            ASSERT_TRUE(fs.setLength(*out, kLength).ok());
        }
        ASSERT_TRUE(fs.close(*out).ok());
        ASSERT_TRUE(fs.close(*in).ok());
        EXPECT_TRUE(test::TempTree::read(dst) == expected) << "the copy differs from the source";
        if (sparseHere && c.holesKept) {
            EXPECT_LT(allocated(dst), kMiB) << "holes written out";
        }
    }
}

}  // namespace
}  // namespace farsend
