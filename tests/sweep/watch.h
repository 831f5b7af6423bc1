// What the sweep is checking at the moment, for the reports of a sanitizer
// that stops the program and of the watchdog that stops a case that never
// ends (a loop that makes no presenter call escapes the call budget).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace valkoran::sweep {

class Watch {
 public:
  // Installs the sanitizers' death report; `limit` is the longest a case may take.
  explicit Watch(std::chrono::seconds limit);
  ~Watch();
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

  void Begin(const std::string& what);  // a case starts
  void End();                           // and ends

 private:
  void Run();

  std::chrono::seconds limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool busy_ = false, quit_ = false;
  unsigned long long serial_ = 0;
  std::thread thread_;
};

}  // namespace valkoran::sweep
