#include "support/FileSizeLimit.h"

#include <csignal>
#include <sys/resource.h>

FileSizeLimit::FileSizeLimit(std::uint64_t limit) {
    rlimit current{};
    ::getrlimit(RLIMIT_FSIZE, &current);
    previousSoft_ = current.rlim_cur;
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    current.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &current);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit current{};
    ::getrlimit(RLIMIT_FSIZE, &current);
    current.rlim_cur = previousSoft_;
    ::setrlimit(RLIMIT_FSIZE, &current);
    std::signal(SIGXFSZ, previousHandler_);
}
