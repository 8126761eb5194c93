#include "support/FaultyFileSystem.h"

namespace farsend::test {

int FaultyFileSystem::calls(Op op, const std::string& pathPart) const {
    int n = 0;
    for (const auto& [o, p] : log_)
        if (o == op && p.find(pathPart) != std::string::npos) ++n;
    return n;
}

const FaultyFileSystem::Fault* FaultyFileSystem::check(Op op, const std::string& path) {
    if (hook_) hook_(op, path);
    log_.emplace_back(op, path);
    for (Fault& f : faults_) {
        if (f.op != op || path.find(f.pathPart) == std::string::npos || f.times == 0) continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        if (f.times > 0) --f.times;
        return &f;
    }
    return nullptr;
}

}  // namespace farsend::test
