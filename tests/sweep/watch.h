// What the sweep is checking at the moment, for the reports of a sanitizer
// that stops the program and of the alarm that stops a case that never ends
// (a loop that makes no presenter call escapes the call budget).
#pragma once

#include <chrono>
#include <string>

namespace valkoran::sweep {

class Watch {
 public:
  // Installs the death reports; `limit` is the longest a case may take.
  explicit Watch(std::chrono::seconds limit);
  ~Watch();
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

  void Begin(const std::string& what);  // a case starts
  void End();                           // and ends

 private:
  std::chrono::seconds limit_;
};

}  // namespace valkoran::sweep
