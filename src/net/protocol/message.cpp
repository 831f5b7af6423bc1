#include "net/protocol/message.h"


namespace valkoran::net {

std::string Frame(std::string_view tag, int index, std::string_view payload) {
  std::string out;
  out.reserve(tag.size() + 4 + payload.size());
  out.append(tag);
  out += ' ';
  out += static_cast<char>('0' + (index / 10) % 10);
  out += static_cast<char>('0' + index % 10);
  for (char c : payload)
    if (c != '*') out += c;
  out += '*';
  return out;
}

Message Parse(std::string_view text) {
  Message m;
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) {
    m.tag = std::string(text);
    return m;
  }
  m.tag = std::string(text.substr(0, blank));
  const std::string_view digits = text.substr(blank, 3);
  // The blank and two digits; anything else there reads as no number.
  bool number = digits.size() == 3;
  for (size_t k = 1; k < digits.size(); ++k) number = number && digits[k] >= '0' && digits[k] <= '9';
  m.index = number ? (digits[1] - '0') * 10 + (digits[2] - '0') : -1;
  if (text.size() > blank + 3) m.payload = std::string(text.substr(blank + 3));
  return m;
}

std::optional<Message> NetBuffer::Next() {
  for (;;) {
    const size_t star = text_.find('*', start_);
    if (star == std::string::npos) {
      text_.erase(0, start_);
      start_ = 0;
      return std::nullopt;
    }
    const size_t begin = start_;
    start_ = star + 1;
    if (star - begin < 6) continue;
    return Parse(std::string_view(text_).substr(begin, star - begin));
  }
}

}  // namespace valkoran::net
