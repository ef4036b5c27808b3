// qirelo-tool: see tools/command.h and `qirelo-tool --help`.

#include "tools/command.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Bodies are written raw: no LF to CR LF translation on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = qirelo::tools::run_tool(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
