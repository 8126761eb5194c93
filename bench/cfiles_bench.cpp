// Directory search benchmark: CFiles::refresh against find(1) on the same tree.
//
//   cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DFARSEND_TESTS=OFF
//   cmake --build build-rel --target benchmarks && build-rel/bench/cfiles_bench [scratch-folder]
//
// (In the everyday build/ folder, `cmake --build build --target benchmarks`
// builds it too, but without a build type nothing is optimised and the
// figures say more about the debug library than about the walk.)
//
// The scratch folder (default /tmp/farsend-cfiles-bench) receives a tree of
// 100,000 small files in 1,000 folders on the first run and is reused after
// that. The two walks run alternately, after one warm-up of each, so both see
// the same cache state; the times, their ratio and the memory that the entry
// list keeps per entry are printed. Goal: refresh within 1.3x of find, at most
// 300 bytes per entry. The names-only search (what the transfer needs) is
// timed beside them, against find without the facts.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "search/CFiles.h"

namespace {

// Heap bytes in use and their peak, counted by the replaced operators below.
std::atomic<std::int64_t> liveBytes{0};
std::atomic<std::int64_t> peakBytes{0};

void* countedAlloc(std::size_t size) {
    void* p = std::malloc(size + 16);
    if (p == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    const std::int64_t now = liveBytes += static_cast<std::int64_t>(size);
    std::int64_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + 16;
}

void countedFree(void* p) noexcept {
    if (p == nullptr) return;
    char* base = static_cast<char*>(p) - 16;
    liveBytes -= static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(base));
    std::free(base);
}

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTopFolders = 10;
constexpr int kSubFolders = 99;  // per top folder: 10 + 990 = 1,000 folders
constexpr int kFilesPerFolder = 100;

void makeTree(const fs::path& root) {
    const fs::path done = root / ".complete";
    if (fs::exists(done)) return;
    std::printf("building the tree in %s ...\n", root.c_str());
    fs::remove_all(root);
    fs::create_directories(root);
    auto fill = [](const fs::path& folder) {
        fs::create_directories(folder);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "file_%05d.dat", i);
            std::ofstream(folder / name) << std::string(static_cast<std::size_t>(i % 7), 'x');
        }
    };
    for (int d = 0; d < kTopFolders; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "d%d", d);
        const fs::path top = root / name;
        fill(top);
        for (int s = 0; s < kSubFolders; ++s) {
            std::snprintf(name, sizeof name, "s%d", s);
            fill(top / name);
        }
    }
    std::ofstream(done) << "1";
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double timeFind(const std::string& root, const char* format = "%s %T@ %m\\n") {
    std::string command("find '");
    command.append(root).append("' -type f -printf '").append(format).append("' >/dev/null");
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "find failed\n");
    return seconds(Clock::now() - start);
}

double timeRefresh(farsend::CFiles& files) {
    const auto start = Clock::now();
    files.refresh();
    return seconds(Clock::now() - start);
}

}  // namespace

void* operator new(std::size_t size) { return countedAlloc(size); }
void* operator new[](std::size_t size) { return countedAlloc(size); }
void operator delete(void* p) noexcept { countedFree(p); }
void operator delete[](void* p) noexcept { countedFree(p); }
void operator delete(void* p, std::size_t) noexcept { countedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { countedFree(p); }

int main(int argc, char** argv) {
#ifndef __OPTIMIZE__
    std::printf("note: unoptimised build; configure with -DCMAKE_BUILD_TYPE=Release for real figures\n");
#endif
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path("/tmp/farsend-cfiles-bench");
    makeTree(root);

    // Warm-up of both walks, and the memory of one complete result.
    (void)timeFind(root.string());
    const std::int64_t before = liveBytes.load();
    peakBytes = before;
    farsend::CFiles files;
    files.setSearchdir(root.string());
    files.refresh();
    const std::int64_t kept = liveBytes.load() - before;
    const std::int64_t peak = peakBytes.load() - before;
    const std::int32_t count = files.Count();
    const int expected = kTopFolders * (kSubFolders + 1) * kFilesPerFolder + 1;  // + the marker file
    if (count != expected) std::printf("warning: %d entries, expected %d\n", count, expected);

    farsend::CFiles names;
    names.setSearchdir(root.string());
    names.setNamesOnly(true);
    (void)timeFind(root.string(), "%p\\n");
    names.refresh();
    if (names.Count() != count)
        std::printf("warning: names-only found %d entries, the full search %d\n", names.Count(), count);

    constexpr int kRounds = 5;
    std::vector<double> times[4];  // find, refresh, find of names, names-only refresh
    std::printf("round      find   refresh   ratio  find -p  names-only   ratio\n");
    for (int r = 1; r <= kRounds; ++r) {
        times[0].push_back(timeFind(root.string()));
        times[1].push_back(timeRefresh(files));
        times[2].push_back(timeFind(root.string(), "%p\\n"));
        times[3].push_back(timeRefresh(names));
        std::printf("%5d  %7.1fms %7.1fms  %5.2fx %7.1fms %9.1fms  %5.2fx\n", r, times[0].back() * 1e3,
                    times[1].back() * 1e3, times[1].back() / times[0].back(), times[2].back() * 1e3,
                    times[3].back() * 1e3, times[3].back() / times[2].back());
    }
    double median[4];
    for (int i = 0; i < 4; ++i) std::sort(times[i].begin(), times[i].end()), median[i] = times[i][kRounds / 2];
    std::printf("median  %7.1fms %7.1fms  %5.2fx %7.1fms %9.1fms  %5.2fx  (goal <= 1.30x)\n", median[0] * 1e3,
                median[1] * 1e3, median[1] / median[0], median[2] * 1e3, median[3] * 1e3, median[3] / median[2]);
    std::printf("entries %d: %.1f bytes/entry kept, %.1f bytes/entry at the peak of refresh (goal <= 300)\n", count,
                static_cast<double>(kept) / count, static_cast<double>(peak) / count);
    return 0;
}
