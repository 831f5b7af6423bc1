#include "sweep/watch.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
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

// Read by the reports, which run in a signal handler or as the program dies:
// the case in hand, copied where no allocation is needed to print it.
char reported[4096];
char hangHead[128];
volatile sig_atomic_t once = 0;

// Only async-signal-safe calls.
void Say(const char* head) {
  if (once) return;
  once = 1;
  (void)!::write(2, head, std::strlen(head));
  (void)!::write(2, reported, std::strlen(reported));
  (void)!::write(2, "\n", 1);
}

// Called by the address sanitizer's runtime as it stops the program, and on
// the abort the undefined-behaviour runtime ends with (its own runtime keeps
// no death callback of ours).
void ReportOnDeath() { Say("\n*** The sweep was stopped while checking: "); }

void OnAbort(int) {
  ReportOnDeath();
  std::signal(SIGABRT, SIG_DFL);
  std::raise(SIGABRT);
}

void OnAlarm(int) {
  Say(hangHead);
  ::_exit(3);
}

}  // namespace

Watch::Watch(std::chrono::seconds limit) : limit_(limit) {
#ifdef VALKORAN_HAS_SANITIZER_HOOKS
  __sanitizer_set_death_callback(ReportOnDeath);
#endif
  std::snprintf(hangHead, sizeof hangHead, "\n*** Hang: no end after %lld s (no presenter call either) while checking: ",
                static_cast<long long>(limit.count()));
  std::signal(SIGABRT, OnAbort);
  std::signal(SIGALRM, OnAlarm);
}

Watch::~Watch() {
  ::alarm(0);
  std::signal(SIGALRM, SIG_DFL);
}

void Watch::Begin(const std::string& what) {
  const size_t n = what.size() < sizeof reported - 1 ? what.size() : sizeof reported - 1;
  what.copy(reported, n);
  reported[n] = '\0';
  ::alarm(static_cast<unsigned>(limit_.count()));
}

void Watch::End() { ::alarm(0); }

}  // namespace valkoran::sweep

// The sweep's runtime options when the environment gives none: stop at the
// first report, by abort, so the case in hand is reported with it.
extern "C" const char* __asan_default_options() { return "halt_on_error=1:abort_on_error=1:detect_leaks=1:quarantine_size_mb=32"; }
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:abort_on_error=1:print_stacktrace=1"; }
