// The runner's commands, callable from tests with their own streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace valkoran::cli {

// Runs one command line (without the program name). Returns the exit code:
// 0 done, 1 a file could not be loaded or saved or the output could not be
// written, 2 bad arguments or setup,
// 3 a game that loaded cannot go on (no seat can take a turn).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string Usage();

}  // namespace valkoran::cli
