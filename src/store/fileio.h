// Reading and replacing whole files, for saved games and the high-score table.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace valkoran {

// "Error # " + number + CR + description, the text of an unexpected failure.
std::string ErrorText(int number, const std::string& description);

namespace fileio {

struct ReadResult {
  std::optional<std::string> data;  // the whole file, when it could be read
  std::string error;                // otherwise the text to show
  bool notFound = false;            // the file does not exist
  bool tooLarge = false;            // longer than the caller's limit
};

// Reads a whole file of at most `limit` bytes.
ReadResult ReadAll(const std::string& path, size_t limit);

// Writes a scratch file in the target's folder, flushes it to the disk and
// renames it over the target, so the previous file survives any failure.
// Returns the error text on failure.
std::optional<std::string> WriteAtomically(const std::string& path, const std::string& content);

// The lines of a text, split at LF, each without a CR before its LF; no empty
// last line for a text that ends with a line break.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace fileio
}  // namespace valkoran
