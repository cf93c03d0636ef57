#include "base/DgReport.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace Vo {

namespace {

std::atomic<DgReport::Handler> installed{nullptr};

DgReport::Handler current() noexcept {
    const DgReport::Handler handler = installed.load(std::memory_order_acquire);
    return handler != nullptr ? handler : &DgReport::toStderr;
}

} // namespace

void DgReport::note(const char *file, int line, const char *what) {
    current()(file, line, what, false);
}

void DgReport::fail(const char *file, int line, const char *what) {
    current()(file, line, what, true);
    std::abort();
}

DgReport::Handler DgReport::setHandler(Handler handler) noexcept {
    return installed.exchange(handler, std::memory_order_acq_rel);
}

void DgReport::toStderr(const char *file, int line, const char *what, bool failed) {
    std::fprintf(stderr, "%s:%d: %s%s\n", file, line, failed ? "check failed: " : "", what);
    std::fflush(stderr);
}

} // namespace Vo
