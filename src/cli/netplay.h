// The runner's network commands: a headless server and a headless client,
// each seat played by the computer rule. They need a Qt core application.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace valkoran::cli {

// "serve" or "join": the exit code; bad arguments print the usage (2).
int RunNetwork(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int CmdServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdJoin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace valkoran::cli
