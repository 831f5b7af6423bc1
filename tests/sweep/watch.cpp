#include "sweep/watch.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VALKORAN_HAS_SANITIZER_HOOKS 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define VALKORAN_HAS_SANITIZER_HOOKS 1
#endif
#ifdef VALKORAN_HAS_SANITIZER_HOOKS
#include <sanitizer/common_interface_defs.h>
#endif

namespace valkoran::sweep {

namespace {

// Read by the death report on the thread that fails: the case it was running.
std::string current;
char reported[4096];

void CopyForReport(const std::string& what) {
  const size_t n = what.size() < sizeof reported - 1 ? what.size() : sizeof reported - 1;
  what.copy(reported, n);
  reported[n] = '\0';
}

// Called by the address sanitizer's runtime as it stops the program, and on
// the abort the undefined-behaviour runtime ends with (its own runtime keeps
// no death callback of ours): only async-signal-safe calls.
void ReportOnDeath() {
  static volatile sig_atomic_t once = 0;
  if (once) return;
  once = 1;
  const char head[] = "\n*** The sweep was stopped while checking: ";
  (void)!::write(2, head, sizeof head - 1);
  (void)!::write(2, reported, std::strlen(reported));
  (void)!::write(2, "\n", 1);
}

void OnAbort(int) {
  ReportOnDeath();
  std::signal(SIGABRT, SIG_DFL);
  std::raise(SIGABRT);
}

}  // namespace

Watch::Watch(std::chrono::seconds limit) : limit_(limit) {
#ifdef VALKORAN_HAS_SANITIZER_HOOKS
  __sanitizer_set_death_callback(ReportOnDeath);
#endif
  std::signal(SIGABRT, OnAbort);
  thread_ = std::thread([this] { Run(); });
}

Watch::~Watch() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void Watch::Begin(const std::string& what) {
  std::lock_guard lock(mutex_);
  current = what;
  CopyForReport(what);
  busy_ = true;
  ++serial_;
  wake_.notify_all();
}

void Watch::End() {
  std::lock_guard lock(mutex_);
  busy_ = false;
  wake_.notify_all();
}

void Watch::Run() {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    if (!busy_) {
      wake_.wait(lock);
      continue;
    }
    const unsigned long long serial = serial_;
    if (wake_.wait_for(lock, limit_, [&] { return quit_ || !busy_ || serial_ != serial; })) continue;
    std::fprintf(stderr, "\n*** Hang: no end after %lld s (no presenter call either) while checking: %s\n",
                 static_cast<long long>(limit_.count()), current.c_str());
    std::fflush(stderr);
    std::_Exit(3);
  }
}

}  // namespace valkoran::sweep

// The sweep's runtime options when the environment gives none: stop at the
// first report, by abort, so the case in hand is reported with it.
extern "C" const char* __asan_default_options() { return "halt_on_error=1:abort_on_error=1:detect_leaks=1:quarantine_size_mb=32"; }
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:abort_on_error=1:print_stacktrace=1"; }
