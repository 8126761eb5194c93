#pragma once
// Faults by path at the system calls under the real file system, for the
// rules above the file-system layer (the selection, the search, the
// chooser): while it lives, a stat of a path, the opening of a folder to
// list it, or the making of a folder fails where the path holds a given
// text; and the folders opened for listing are counted. (The transfer tests
// change the same table for faults of their own.)

#include <fcntl.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/SystemCalls.h"

namespace farsend::test {

enum class Op { Stat, List, MakeDir };

class PathFaults {
public:
    PathFaults() : saved_(sys::calls()) {
        current_ = this;
        sys::Calls& c = sys::calls();
        c.fstatat = [](int d, const char* p, struct stat* st, int f) {
            return refused(Op::Stat, d, p) ? -1 : current_->saved_.fstatat(d, p, st, f);
        };
        c.openat = [](int d, const char* p, int f, mode_t m) {
            if ((f & O_DIRECTORY) == 0) return current_->saved_.openat(d, p, f, m);
            if (d == AT_FDCWD) current_->listed_.emplace_back(p);
            return refused(Op::List, d, p) ? -1 : current_->saved_.openat(d, p, f, m);
        };
        c.mkdirat = [](int d, const char* p, mode_t m) {
            return refused(Op::MakeDir, d, p) ? -1 : current_->saved_.mkdirat(d, p, m);
        };
    }
    ~PathFaults() {
        sys::calls() = saved_;
        current_ = nullptr;
    }
    PathFaults(const PathFaults&) = delete;
    PathFaults& operator=(const PathFaults&) = delete;

    // Makes op on a path holding pathPart fail with errnoValue.
    void failOn(Op op, std::string pathPart, int errnoValue) {
        faults_.emplace_back(op, std::move(pathPart), errnoValue);
    }
    void clearFaults() { faults_.clear(); }
    // How many folders whose path holds pathPart were opened for listing.
    int listings(const std::string& pathPart = {}) const {
        int n = 0;
        for (const std::string& p : listed_) n += p.find(pathPart) != std::string::npos;
        return n;
    }

private:
    static bool refused(Op op, int dirfd, const char* path) {
        for (const auto& [o, part, errnoValue] : current_->faults_)
            if (o == op && dirfd == AT_FDCWD && std::string(path).find(part) != std::string::npos)
                return errno = errnoValue, true;
        return false;
    }

    static inline PathFaults* current_ = nullptr;
    sys::Calls saved_;
    std::vector<std::tuple<Op, std::string, int>> faults_;
    std::vector<std::string> listed_;
};

}  // namespace farsend::test
