#pragma once
// Where the differences between two registrars' answers are written: the comparison window,
// or a command-line run's standard error / RTF file.
#include <cstdint>
#include <string>

namespace quorvex::script {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kReportRed{255, 0, 0};
constexpr Rgb kReportBlue{0, 0, 255};

class ComparisonReport {
public:
    virtual ~ComparisonReport() = default;
    // Appends one line (Windows-1251) in the colour; the colour stays for later lines.
    virtual void AppendReportLine(const std::string& text, Rgb colour) = 0;
};

// The process's report sink: the comparison window in the program, stderr or RTF in a
// command-line run. A sink that drops every line is in force until one is installed.
ComparisonReport& comparisonReport();
void setComparisonReport(ComparisonReport* report);

} // namespace quorvex::script
