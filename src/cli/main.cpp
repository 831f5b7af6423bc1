#include <iostream>
#include <new>

#include "cli/commands.h"

int main(int argc, char** argv) {
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
    return valkoran::cli::Run(args, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    // Whatever was being saved was not replaced: saves write a scratch file first.
    std::cerr << "Error # 7\nOut of memory\n";
    return 1;
  }
}
