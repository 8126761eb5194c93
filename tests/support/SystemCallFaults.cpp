#include "support/SystemCallFaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace farsend::test {

SystemCallFaults* SystemCallFaults::current_ = nullptr;

int SystemCallFaults::named(int result) {
    if (result == 0 && current_->afterNaming) current_->afterNaming();
    return result;
}

void SystemCallFaults::moving() {
    if (current_->beforeData) current_->beforeData(++current_->moves_);
}

std::int64_t SystemCallFaults::allowance(std::int64_t want, std::int64_t limit, std::int64_t& used, int error) {
    if (limit < 0) return want;
    const std::int64_t n = std::min(want, limit - used);
    if (n <= 0) errno = error;
    used += std::max<std::int64_t>(n, 0);
    return n;
}

SystemCallFaults::SystemCallFaults() : saved_(sys::calls()) {
    current_ = this;
    sys::Calls& c = sys::calls();
    c.openat = [](int d, const char* p, int flags, mode_t m) {
        if ((flags & O_TMPFILE) == O_TMPFILE && current_->noUnnamedFiles) return errno = EOPNOTSUPP, -1;
        const int fd = sys::realCalls().openat(d, p, flags, m);
        if (fd >= 0 && ((flags & O_TMPFILE) == O_TMPFILE || (flags & O_CREAT) != 0)) current_->outputs_[fd] = 0;
        return fd;
    };
    c.close = [](int fd) {
        const bool failing = isOutput(fd) && current_->closeFailure != 0;
        current_->outputs_.erase(fd);
        const int r = sys::realCalls().close(fd);
        if (!failing) return r;
        errno = current_->closeFailure;
        return -1;
    };
    c.read = [](int fd, void* b, size_t n) -> ssize_t {
        const auto ok = allowance(static_cast<std::int64_t>(n), current_->readableBytes, current_->read_, EIO);
        return ok <= 0 && n > 0 ? -1 : sys::realCalls().read(fd, b, static_cast<size_t>(ok));
    };
    c.write = [](int fd, const void* b, size_t n) -> ssize_t {
        if (!isOutput(fd)) return sys::realCalls().write(fd, b, n);
        moving();
        const auto ok = allowance(static_cast<std::int64_t>(n), current_->spaceLeft, current_->outputs_[fd], ENOSPC);
        return ok <= 0 && n > 0 ? -1 : sys::realCalls().write(fd, b, static_cast<size_t>(ok));
    };
    c.copyFileRange = [](int in, off_t* io, int out, off_t* oo, size_t n, unsigned f) -> ssize_t {
        if (current_->copyRefusal != 0) {
            errno = current_->copyRefusal;
            return -1;
        }
        moving();
        std::int64_t ignored = 0;
        std::int64_t& written = isOutput(out) ? current_->outputs_[out] : ignored;
        auto ok = allowance(static_cast<std::int64_t>(n), current_->spaceLeft, written, ENOSPC);
        if (ok > 0) ok = allowance(ok, current_->readableBytes, current_->read_, EIO);
        return ok <= 0 ? -1 : sys::realCalls().copyFileRange(in, io, out, oo, static_cast<size_t>(ok), f);
    };
    c.renameat2 = [](int fd, const char* from, int td, const char* to, unsigned flags) {
        return named(sys::realCalls().renameat2(fd, from, td, to, flags));
    };
    c.linkat = [](int fd, const char* from, int td, const char* to, int flags) {
        return named(sys::realCalls().linkat(fd, from, td, to, flags));
    };
}

SystemCallFaults::~SystemCallFaults() {
    sys::calls() = saved_;
    current_ = nullptr;
}

}  // namespace farsend::test
