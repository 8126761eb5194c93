// Transfer benchmark: the real main window, offscreen (or on the display that
// QT_QPA_PLATFORM names), transfers what a click on Copy or Move transfers,
// side by side with the commands a careful user types for the same thing.
//
//   ./bench.sh transfer [scratch-folder]
//   (or: cmake --build build-rel --target transfer_bench && build-rel/bench/transfer_bench [scratch-folder])
//
// Every run is a child process, timed from its start to its exit: the
// program (started, its window shown, the click, the transfer, the window
// closed, the process ended) and each command. In each of 7 rounds the
// program and the commands beside it run one after the other, each after a
// sync, after one unmeasured round that warms the caches alike; the figures
// are the medians. The program's fixed cost, the same measure for a Copy of
// an empty file, is printed first, and each ratio is the program's time
// less that fixed cost over the command's time.
//
// The cases (FARSEND_BENCH_CASES=46 runs the digits named, default all):
//   1-3  Copy one 1 GiB file / 10,000 files of 4 KiB in 100 folders / 1,000
//        files of 1 MiB, against cp -r and against cp -r && sync.
//   4-5  Move a 1 GiB file / a 10,000-file folder into another folder of the
//        scratch folder's file system, against mv.
//   6-7  Move 10,000 files of 4 KiB / one 1 GiB file from /dev/shm into the
//        scratch folder, against cp -r SRC DST && sync && rm -r SRC (not
//        run when the scratch folder is itself on /dev/shm).
// A Move consumes its source: before each run, untimed, the source is made
// again as hard links to the data (cp -al), which moves no data.
//
// Beside each case: the system calls a file that the program made from the
// click to the end of its transfer, counted in the child at the table of
// system calls that the file-system layer goes through (each entry wrapped
// by a counter); calls the layer makes around that table are not counted.
//
// The scratch folder (default /tmp/farsend-transfer-bench) receives the data
// on the first run and keeps it. A copy of many files is never deleted
// between runs (removing many files slows creating them for minutes
// afterwards): it is renamed into a trash folder that is removed once, at
// the end; big files go at once. FARSEND_BENCH_DISCARD=1 deletes every copy
// at once: for a scratch folder on a memory file system (/dev/shm), where
// the disk's noise is gone and what is left is the programs' own work.
// FARSEND_BENCH_VERBOSE=1 prints every run with its processor time.
//
// Goals, printed beside the figures (nothing here passes or fails): Copy at
// most 1.00x cp -r net of the fixed cost; Move within one file system under
// 20 ms net of the fixed cost; Move from /dev/shm at most 1.10x
// cp -r && sync && rm -r; peak memory for the 1 GiB file within 5 MB of that
// for an empty file; the window served at least every 50 ms.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "app/ui/DirListBox.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/QtVolumes.h"
#include "app/ui/frmFSMain.h"
#include "platform/SystemCalls.h"
#include "prefs/ui/QtSettingsStore.h"
#include "transfer/TransferMode.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// User plus system time.
double cpuMs(const rusage& use) {
    return static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000.0 +
           static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000.0;
}

// ---- the child: one transfer through the window ----

// Every entry of the system-call table, counted. A new entry of
// farsend::sys::Calls is one more X(name) here; the check below refuses to
// build while one is missing.
#define FARSEND_COUNTED_CALLS(X) \
    X(openat) X(close) X(read) X(write) X(copyFileRange) X(fstatat) X(linkat) X(renameat2) X(unlinkat) X(mkdirat) \
        X(lseek) X(ftruncate) X(fchmod) X(flock) X(syncfs) X(fstatfs)

#define FARSEND_ONE(entry) +1
static_assert(sizeof(farsend::sys::Calls) == (0 FARSEND_COUNTED_CALLS(FARSEND_ONE)) * sizeof(void (*)()),
              "an entry of farsend::sys::Calls is not counted: add it to FARSEND_COUNTED_CALLS");
#undef FARSEND_ONE

farsend::sys::Calls uncounted;  // the table as it was before counting

template <auto Entry, typename F>
struct Counted;
template <auto Entry, typename R, typename... A>
struct Counted<Entry, R (*)(A...)> {
    static inline long calls = 0;
    static R call(A... args) {
        ++calls;
        return (uncounted.*Entry)(args...);
    }
};

// Puts a counter in front of one entry; returns where it counts.
template <auto Entry>
const long* counting(farsend::sys::Calls& table) {
    using Counter = Counted<Entry, std::remove_cvref_t<decltype(table.*Entry)>>;
    table.*Entry = &Counter::call;
    return &Counter::calls;
}

std::vector<std::pair<const char*, const long*>> countAllCalls() {
    uncounted = farsend::sys::calls();
    std::vector<std::pair<const char*, const long*>> counters;
#define FARSEND_COUNT(entry) \
    counters.emplace_back(#entry, counting<&farsend::sys::Calls::entry>(farsend::sys::calls()));
    FARSEND_COUNTED_CALLS(FARSEND_COUNT)
#undef FARSEND_COUNT
    return counters;
}

// A posted event that posts itself again whenever it is delivered: the time
// between two deliveries is the time between two event-processing passes.
class Ticker final : public QObject {
public:
    bool measuring = false;
    int passes = 0;
    Clock::time_point last;
    double firstGap = 0;  // from the click to the first pass (covers the listing of a tree)
    double maxGap = 0;    // the longest gap after that

    void start() {
        measuring = true;
        last = Clock::now();
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        const auto now = Clock::now();
        if (measuring) {
            const double gap = ms(now - last);
            if (passes++ == 0)
                firstGap = gap;
            else
                maxGap = std::max(maxGap, gap);
            last = now;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return true;
    }
};

// --child SOURCE DESTINATION STORE copy|move: prints the longest gap, the
// first gap, the peak memory, the processor time of the transfer and the
// system calls it made, by entry.
int child(char** argv) {
    const std::string source = argv[2];
    const std::string destination = argv[3];
    const QString store = QString::fromStdString(argv[4]);
    const bool move = std::string(argv[5]) == "move";
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a real display when one is asked for
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    farsend::QtVolumes volumes;
    farsend::QtSettingsStore settings(store);
    farsend::QtPrompts prompts;
    farsend::Services services;
    services.fs = &farsend::realFileSystem();
    services.volumes = &volumes;
    services.store = &settings;
    services.prompts = &prompts;
    services.args = {source};
    services.endNow = [](int code) { std::_Exit(code); };
    services.openUrl = [](const std::string&) { return false; };

    farsend::frmFSMain window(services);
    if (!window.Form_Load()) return 3;
    window.show();
    QCoreApplication::processEvents();
    auto* folders = window.findChild<farsend::DirListBox*>("dirFSDir");
    auto* button = window.findChild<QPushButton*>("Command1_0");
    if (folders == nullptr || button == nullptr) return 5;
    (void)folders->setPath(destination);
    button->setText(move ? farsend::kMoveCaption : farsend::kCopyCaption);

    Ticker ticker;
    const QPointF at(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto counters = countAllCalls();
    ticker.start();
    QApplication::sendEvent(button, &release);  // the click: the whole transfer runs in here
    ticker.measuring = false;
    farsend::sys::calls() = uncounted;

    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    std::printf("%.3f %.3f %ld %.3f", ticker.maxGap, ticker.firstGap, use.ru_maxrss, cpuMs(use) - cpuMs(before));
    for (const auto& [name, calls] : counters) std::printf(" %s=%ld", name, *calls);
    std::printf("\n");
    std::fflush(stdout);
    return window.isVisible() ? 4 : 0;  // the window closes after its transfer
}

// ---- the parent ----

std::string self;
std::string scratch;
int serial = 0;
bool verbose = false;

// The processor time (user and system) of the last spawned child.
double lastCpuMs = 0;

// Runs args and returns its wall time from start to exit, with its standard
// output in out. A run that fails or takes more than 10 minutes (a dialog
// waiting for an answer) ends the benchmark.
double spawn(const std::vector<std::string>& args, std::string* out = nullptr) {
    int pipefd[2];
    if (pipe2(pipefd, O_CLOEXEC) != 0) std::exit(2);
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipefd[1], 1);
        if (const int null = open("/dev/null", O_WRONLY); null >= 0) dup2(null, 2);  // the toolkit's chatter
        std::vector<char*> v;
        for (const auto& a : args) v.push_back(const_cast<char*>(a.c_str()));
        v.push_back(nullptr);
        execvp(v[0], v.data());
        _exit(127);
    }
    close(pipefd[1]);
    const int ended = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    std::string text;
    char buffer[512];
    for (;;) {
        pollfd p[2] = {{pipefd[0], POLLIN, 0}, {ended, POLLIN, 0}};
        if (poll(p, ended >= 0 ? 2 : 1, 600000) == 0) {
            kill(pid, SIGKILL);
            std::fprintf(stderr, "%s did not end within 10 minutes\n", args[0].c_str());
            std::exit(1);
        }
        if ((p[0].revents & (POLLIN | POLLHUP)) == 0) break;  // ended, its output all read
        const ssize_t n = read(pipefd[0], buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    const auto t1 = Clock::now();
    for (ssize_t n; (n = read(pipefd[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    close(pipefd[0]);
    if (ended >= 0) close(ended);
    lastCpuMs = cpuMs(use);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)%s\n", args[0].c_str(), status,
                     args[0] == self ? " (on a display other than offscreen, is there one? xvfb-run gives one)" : "");
        std::exit(1);
    }
    if (out != nullptr) *out = text;
    return ms(t1 - t0);
}

std::string freshFolder(const std::string& under) {
    const std::string d = under + "/out-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    fs::create_directories(d);
    return d;
}

void throwAway(const std::string& folder, bool manyFiles) {
    if (!manyFiles || std::getenv("FARSEND_BENCH_DISCARD") != nullptr || !folder.starts_with(scratch + "/")) {
        fs::remove_all(folder);
        return;
    }
    fs::create_directories(scratch + "/trash");
    fs::rename(folder, scratch + "/trash/" + fs::path(folder).filename().string());
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void writeFile(const std::string& path, std::int64_t size, unsigned seed) {
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 2654435761u + seed) >> 13);
    for (std::int64_t done = 0; done < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(size - done, 1 << 20));
        block[0] = static_cast<char>(done >> 20);
        out.write(block.data(), static_cast<std::streamsize>(n));
        done += static_cast<std::int64_t>(n);
    }
}

void prepare() {
    const std::string marker = scratch + "/data/.complete";
    if (fs::exists(marker)) return;
    std::printf("Making the data in %s/data (once)...\n", scratch.c_str());
    std::fflush(stdout);
    fs::remove_all(scratch + "/data");
    fs::create_directories(scratch + "/data/small");
    fs::create_directories(scratch + "/data/medium");
    writeFile(scratch + "/data/big.bin", std::int64_t{1} << 30, 7);
    writeFile(scratch + "/data/empty.bin", 0, 0);
    for (int d = 0; d < 100; ++d) {
        const std::string folder = scratch + "/data/small/d" + std::to_string(d);
        fs::create_directories(folder);
        for (int f = 0; f < 100; ++f)
            writeFile(folder + "/f" + std::to_string(f) + ".dat", 4096, unsigned(d * 100 + f));
    }
    for (int f = 0; f < 1000; ++f)
        writeFile(scratch + "/data/medium/m" + std::to_string(f) + ".dat", 1 << 20, unsigned(f));
    std::ofstream(marker) << "ok\n";
    sync();
}

// What one run of the program reports.
struct Run {
    double millis = 0;
    double maxGap = 0;
    double firstGap = 0;
    long maxRssKb = 0;
    double cpuMs = 0;
    std::map<std::string, long> calls;
};

Run parseChild(const std::string& out, double millis) {
    Run r;
    r.millis = millis;
    std::istringstream in(out);
    if (!(in >> r.maxGap >> r.firstGap >> r.maxRssKb >> r.cpuMs)) {
        std::fprintf(stderr, "unexpected child output: %s\n", out.c_str());
        std::exit(1);
    }
    for (std::string item; in >> item;)
        r.calls[item.substr(0, item.find('='))] = std::stol(item.substr(item.find('=') + 1));
    return r;
}

// The commands the program is measured against; SRC and DST stand for the
// source and the destination folder.
enum class Command { Cp, CpSync, Mv, CpSyncRm };

const char* label(Command c) {
    switch (c) {
        case Command::Cp:
            return "cp -r";
        case Command::CpSync:
            return "cp -r && sync";
        case Command::Mv:
            return "mv";
        case Command::CpSyncRm:
            return "cp -r && sync && rm -r";
    }
    return "";
}

std::vector<std::string> argsOf(Command c, const std::string& source, const std::string& dest) {
    switch (c) {
        case Command::Cp:
            return {"cp", "-r", source, dest + "/"};
        case Command::CpSync:
            return {"sh", "-c", "cp -r \"$1\" \"$2\" && sync", "sh", source, dest + "/"};
        case Command::Mv:
            return {"mv", source, dest + "/"};
        case Command::CpSyncRm:
            return {"sh", "-c", "cp -r \"$1\" \"$2\" && sync && rm -r \"$1\"", "sh", source, dest + "/"};
    }
    return {};
}

struct Case {
    char digit;
    const char* name;
    std::string data;  // the file or folder transferred
    bool move;
    int files;
    std::vector<Command> against;
    const char* goal;  // for the first command
};

// Where a case's runs take their source: the data itself for a Copy; for a
// Move, hard links to it made anew in a holder folder beside it.
struct Source {
    std::string path, holder;
};

Source sourceFor(const Case& c) {
    if (!c.move) return {c.data, {}};
    const std::string holder = freshFolder(fs::path(c.data).parent_path().parent_path().string());
    spawn({"cp", "-al", c.data, holder + "/"});
    return {holder + "/" + fs::path(c.data).filename().string(), holder};
}

Run ours(const Case& c) {
    const Source source = sourceFor(c);
    const std::string dest = freshFolder(scratch);
    sync();
    std::string out;
    const double t = spawn({self, "--child", source.path, dest, scratch + "/VA30.ini", c.move ? "move" : "copy"}, &out);
    const Run r = parseChild(out, t);
    if (c.move && fs::exists(source.path)) std::printf("  (the program left the source %s)\n", source.path.c_str());
    throwAway(dest, c.files > 1000);
    if (!source.holder.empty()) throwAway(source.holder, c.files > 1000);
    return r;
}

double theirs(const Case& c, Command command) {
    const Source source = sourceFor(c);
    const std::string dest = freshFolder(scratch);
    sync();
    const double t = spawn(argsOf(command, source.path, dest));
    throwAway(dest, c.files > 1000);
    if (!source.holder.empty()) throwAway(source.holder, c.files > 1000);
    return t;
}

std::string perFile(double calls, int files) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", calls / files);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 6 && std::string(argv[1]) == "--child") return child(argv);
    self = fs::canonical("/proc/self/exe").string();
    scratch = fs::absolute(argc >= 2 ? argv[1] : "/tmp/farsend-transfer-bench").lexically_normal().string();
    verbose = std::getenv("FARSEND_BENCH_VERBOSE") != nullptr;
    fs::create_directories(scratch);
    prepare();
    const char* only = std::getenv("FARSEND_BENCH_CASES");
    const auto chosen = [only](char digit) {
        return only == nullptr || std::string(only).find(digit) != std::string::npos;
    };

    // The data of the Move from a memory file system, copied there for the run.
    struct stat shm {
    }, here{};
    const bool shmApart = stat("/dev/shm", &shm) == 0 && stat(scratch.c_str(), &here) == 0 && shm.st_dev != here.st_dev;
    const std::string shmData = "/dev/shm/farsend-transfer-bench-" + std::to_string(getpid()) + "/data";
    if (shmApart && (chosen('6') || chosen('7'))) {
        fs::create_directories(shmData);
        spawn({"cp", "-r", scratch + "/data/small", scratch + "/data/big.bin", shmData + "/"});
    }

    const std::string d = scratch + "/data/";
    std::vector<Case> cases{
        {'1', "Copy one 1 GiB file", d + "big.bin", false, 1, {Command::Cp, Command::CpSync}, "<= 1.00x"},
        {'2', "Copy 10,000 files of 4 KiB", d + "small", false, 10000, {Command::Cp, Command::CpSync}, "<= 1.00x"},
        {'3', "Copy 1,000 files of 1 MiB", d + "medium", false, 1000, {Command::Cp, Command::CpSync}, "<= 1.00x"},
        {'4', "Move a 1 GiB file, same fs", d + "big.bin", true, 1, {Command::Mv}, "net < 20 ms"},
        {'5', "Move 10,000 files, same fs", d + "small", true, 10000, {Command::Mv}, "net < 20 ms"},
    };
    if (shmApart) {
        cases.push_back({'6',
                         "Move 10,000 x 4 KiB from /dev/shm",
                         shmData + "/small",
                         true,
                         10000,
                         {Command::CpSyncRm},
                         "<= 1.10x"});
        cases.push_back(
            {'7', "Move a 1 GiB file from /dev/shm", shmData + "/big.bin", true, 1, {Command::CpSyncRm}, "<= 1.10x"});
    } else if (chosen('6') || chosen('7')) {
        std::printf("(cases 6 and 7 not run: the scratch folder is on /dev/shm's own file system)\n");
    }

    constexpr int kRounds = 7;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf(
        "Transfer benchmark in %s, window on %s. Every figure: the median of %d rounds, each run a child\n"
        "process timed from its start to its exit, the program and the commands alternating, after a sync.\n",
        scratch.c_str(), platform != nullptr ? platform : "offscreen", kRounds);

    // The fixed cost: the same measure for a Copy of an empty file.
    const Case empty{'0', "Copy an empty file", d + "empty.bin", false, 1, {}, ""};
    std::vector<double> fixedRuns;
    long emptyRss = 0;
    (void)ours(empty);
    for (int i = 0; i < kRounds; ++i) {
        const Run r = ours(empty);
        fixedRuns.push_back(r.millis);
        emptyRss = std::max(emptyRss, r.maxRssKb);
    }
    const double fixed = median(fixedRuns);
    std::printf("The program's fixed cost (start to exit, Copy of an empty file): %.1f ms\n\n", fixed);
    std::printf("%-34s %-23s %9s %9s %9s %7s %-12s %10s %7s\n", "case", "against", "program", "less fix", "command",
                "ratio", "goal", "calls/file", "gap ms");
    std::fflush(stdout);

    long bigRss = 0;
    for (const Case& c : cases) {
        if (!chosen(c.digit)) continue;
        (void)ours(c);  // one unmeasured round of each warms the caches alike
        for (Command command : c.against) (void)theirs(c, command);
        std::vector<double> program, cpu, calls;
        std::vector<std::vector<double>> commands(c.against.size());
        double gap = 0;
        std::map<std::string, std::vector<double>> byEntry;
        for (int i = 0; i < kRounds; ++i) {
            const Run r = ours(c);
            program.push_back(r.millis);
            cpu.push_back(r.cpuMs);
            gap = std::max(gap, r.maxGap);
            if (c.digit == '1') bigRss = std::max(bigRss, r.maxRssKb);
            long total = 0;
            for (const auto& [name, n] : r.calls) total += n, byEntry[name].push_back(static_cast<double>(n));
            calls.push_back(static_cast<double>(total));
            if (verbose)
                std::printf("  round %d: program %.1f ms (cpu of the transfer %.1f ms, %ld calls)", i, r.millis,
                            r.cpuMs, total);
            for (std::size_t k = 0; k < c.against.size(); ++k) {
                commands[k].push_back(theirs(c, c.against[k]));
                if (verbose) std::printf(", %s %.1f ms (cpu %.1f)", label(c.against[k]), commands[k].back(), lastCpuMs);
            }
            if (verbose) std::printf("\n");
        }
        const double net = median(program) - fixed;
        for (std::size_t k = 0; k < c.against.size(); ++k) {
            const double theirsMs = median(commands[k]);
            char ratio[16];
            std::snprintf(ratio, sizeof ratio, "%.2fx", net / theirsMs);
            char gapText[16] = "";
            if (k == 0) std::snprintf(gapText, sizeof gapText, "%.1f", gap);
            std::printf("%-34s %-23s %9.1f %9.1f %9.1f %7s %-12s %10s %7s\n", k == 0 ? c.name : "", label(c.against[k]),
                        median(program), net, theirsMs, ratio, k == 0 ? c.goal : "",
                        k == 0 ? perFile(median(calls), c.files).c_str() : "", gapText);
        }
        std::string entries;
        for (const auto& [name, counts] : byEntry)
            if (median(counts) > 0) entries += " " + name + " " + perFile(median(counts), c.files);
        std::printf("    calls a file by entry:%s\n", entries.c_str());
        std::fflush(stdout);
    }

    if (chosen('1')) {
        const double diffMb = static_cast<double>(bigRss - emptyRss) / 1024.0;
        std::printf("\npeak memory: 1 GiB file %ld KiB, empty file %ld KiB, difference %.2f MB (goal: within 5 MB)\n",
                    bigRss, emptyRss, diffMb);
    }
    std::printf(
        "(less fix = the program's time less its fixed cost; ratio = that over the command's time;\n"
        " gap = the longest time between two event passes of the window while it transferred, goal <= 50 ms)\n");

    std::error_code ec;
    fs::remove_all(scratch + "/trash", ec);
    fs::remove_all(fs::path(shmData).parent_path(), ec);
    return 0;
}
