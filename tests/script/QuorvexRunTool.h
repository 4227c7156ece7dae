#pragma once
// Runs the built quorvex-run with its output caught in files (POSIX shell).
#include "InterpreterTestFixture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace quorvex::script::testing {

inline std::string utf8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ToolResult {
    int exitCode = -1; // -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// prefix: a command that runs the tool, e.g. as another user.
inline ToolResult runTool(const std::string& arguments, const std::string& prefix = "")
{
    const std::string outPath = writeTextFile("out.txt", "");
    const std::string errPath = writeTextFile("err.txt", "");
    const std::string command = prefix + QUORVEX_RUN_PATH + " " + arguments + " >" + outPath +
                                " 2>" + errPath + " </dev/null";
    const int status = std::system(command.c_str());
    ToolResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

} // namespace quorvex::script::testing
