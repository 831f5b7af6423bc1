#include <iostream>
#include <new>

#include "cli/commands.h"
#ifdef VALKORAN_NETPLAY
#include <QCoreApplication>

#include "cli/netplay.h"
#endif

int main(int argc, char** argv) {
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef VALKORAN_NETPLAY
    // The network commands run an event loop.
    if (!args.empty() && (args[0] == "serve" || args[0] == "join")) {
      QCoreApplication app(argc, argv);
      return valkoran::cli::RunNetwork(args, std::cout, std::cerr);
    }
#endif
    return valkoran::cli::Run(args, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    // Whatever was being saved was not replaced: saves write a scratch file first.
    std::cerr << "Error # 7\nOut of memory\n";
    return 1;
  }
}
