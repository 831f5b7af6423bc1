// The message frame both sides write and read: a tag in square brackets, a
// blank, a two-digit index, the payload, and "*" at the end.
//   "[NP] " "00" " 7" "*"
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace valkoran::net {

struct Message {
  std::string tag;      // "[NP]": the text before the first blank
  int index = 0;        // the value of the blank and the two digits after it
  std::string payload;  // everything after the two digits
};

// A whole message. `index` is written with two digits (0..99); a "*" in the
// payload would end the message early and is left out.
std::string Frame(std::string_view tag, int index, std::string_view payload);

// Splits a message's text (without its "*") into tag, index and payload.
Message Parse(std::string_view text);

// What one connection has received and not yet acted on. Messages come out
// whole, in order, however TCP cut them.
class NetBuffer {
 public:
  // A peer that sends this much without a "*" is not speaking the protocol.
  static constexpr size_t kLimit = 64 * 1024;

  void Append(std::string_view bytes) {
    text_.erase(0, start_);  // what was handed out goes once a read
    start_ = 0;
    text_.append(bytes);
  }
  // The next whole message, or nothing until more arrives. A "*" in the
  // first six characters cannot end a message (the tag, blank and index
  // alone take more): that broken piece is dropped with it.
  std::optional<Message> Next();
  // More than kLimit bytes wait without a "*": the caller closes the link.
  bool Overflowed() const { return Waiting() > kLimit && text_.find('*', start_) == std::string::npos; }
  void Clear() { text_.clear(), start_ = 0; }
  size_t Waiting() const { return text_.size() - start_; }

 private:
  std::string text_;
  // Where the next message starts: handing one out moves this rather than
  // the rest of the text, so a read of many messages costs its length once.
  size_t start_ = 0;
};

}  // namespace valkoran::net
