#pragma once
// quorvex-run's command line: which registrars, which scripts, which outputs.
#include "link/Link.h"
#include "script/CompareIgnore.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex::script {

struct RunOptions {
    std::string port = "EMU1";
    int speed = 19200;
    std::optional<std::string> secondPort;
    int secondSpeed = 19200;
    std::optional<std::string> secondLog; // replay this exchange log as the second registrar
    bool compareAll = false;              // compare every command, not only after %EnableSecond
    IgnoreList ignore;
    std::optional<std::string> logFile;
    link::AnswerEnd answerEnd = link::AnswerEnd::Quiet;
    int busyLimitSeconds = link::kDefaultBusyLimitSeconds; // SYN alone for longer gives up
    bool quiet = false;
    bool trace = false; // every exchange, decoded, on standard error
    std::optional<std::string> reportFile;
    std::optional<std::string> junitFile;
    std::vector<std::string> scripts; // run in this order on the same connection
    bool help = false;
};

struct ParsedRunOptions {
    RunOptions options;
    std::string error; // empty when the command line is usable
};

// args excludes the program name.
[[nodiscard]] ParsedRunOptions parseRunOptions(const std::vector<std::string>& args);

} // namespace quorvex::script
