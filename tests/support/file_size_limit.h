// A limit on the size of the files this process writes, for a scope: a
// write beyond it fails as on a full disk (EFBIG; the signal the system
// sends then is ignored meanwhile), so that a test can make a save run out
// of room without a small file system of its own.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace kvx::test {

class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousSignal_)(int) = SIG_DFL;
};

}  // namespace kvx::test
