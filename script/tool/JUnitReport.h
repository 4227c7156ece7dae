#pragma once
// A JUnit XML report of one quorvex-run: one testsuite, one testcase per script file. Every
// text is UTF-8; characters XML cannot carry are replaced, numbers never depend on the locale.
#include <optional>
#include <string>
#include <vector>

namespace quorvex::script {

// Why a test case did not pass: a <failure> when the answers differed, an <error> when the
// script could not run to its end (a script error, a request not sent, a time-out, a script
// file that cannot be read, an interruption), <skipped> when it was not run at all.
struct JUnitProblem {
    enum class Kind { Failure, Error, Skipped };
    Kind kind = Kind::Failure;
    std::string type;    // "differences", "script error", "not sent", "time-out", ...
    std::string message; // one line
    std::string text;    // the element's body: details, may be empty
};

struct JUnitCase {
    std::string name;      // the script file
    std::string className; // the ports
    double seconds = 0;
    std::optional<JUnitProblem> problem; // none: passed
    std::vector<std::string> output;     // system-out, one entry a line
};

struct JUnitSuite {
    std::string name;
    std::string timestamp; // ISO 8601 with its zone, e.g. 2026-12-09T08:30:00+01:00
    std::string hostname;
    double seconds = 0;
    std::vector<JUnitCase> cases;
};

[[nodiscard]] std::string junitXml(const JUnitSuite& suite);

// Text for an attribute or element: & < > " ' escaped, control characters other than tab,
// line feed and carriage return (not allowed in XML 1.0) and malformed UTF-8 replaced by U+FFFD.
[[nodiscard]] std::string xmlEscaped(const std::string& utf8);

} // namespace quorvex::script
