#pragma once

// A qirelo-tool command run in-process, with what it wrote to each stream.

#include <sstream>
#include <string>
#include <vector>

#include "tools/command.h"

namespace qirelo::tools::testing {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun tool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_tool(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace qirelo::tools::testing
