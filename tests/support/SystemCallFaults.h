#pragma once
// While it lives, the system calls under the real file system answer
// otherwise where a test says so: the files being written (created with
// O_TMPFILE or O_CREAT) run out of space, sources stop reading, the
// in-kernel copy is refused, closing a written file fails late; and a hook
// runs before each move of data, and after a name is given, to change the disk
// in the middle of a copy.

#include <cstdint>
#include <functional>
#include <map>

#include "platform/SystemCalls.h"

namespace farsend::test {

class SystemCallFaults {
public:
    SystemCallFaults();
    ~SystemCallFaults();
    SystemCallFaults(const SystemCallFaults&) = delete;
    SystemCallFaults& operator=(const SystemCallFaults&) = delete;

    std::int64_t spaceLeft = -1;               // bytes each written file may take, then ENOSPC
    std::int64_t readableBytes = -1;           // bytes the sources give, then EIO
    int copyRefusal = 0;                       // errno of every in-kernel copy
    bool noUnnamedFiles = false;               // O_TMPFILE refused, as some file systems do
    int closeFailure = 0;                      // errno of closing a written file
    std::function<void(int move)> beforeData;  // move counts from 1
    std::function<void()> afterNaming;         // after a link or a rename

private:
    static SystemCallFaults* current_;
    static bool isOutput(int fd) { return current_->outputs_.count(fd) != 0; }
    static void moving();
    static int named(int result);
    // How much of want the limit still lets through; sets errno when none.
    static std::int64_t allowance(std::int64_t want, std::int64_t limit, std::int64_t& used, int error);

    sys::Calls saved_;
    std::map<int, std::int64_t> outputs_;  // written files and their bytes
    std::int64_t read_ = 0;
    int moves_ = 0;
};

}  // namespace farsend::test
