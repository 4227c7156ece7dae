#pragma once
// The comparison report as a list of lines with their character attributes: what the
// comparison window shows and what is saved as RTF. Appending follows the window's rules:
// the colour given stays in force for later lines, and every reported line is set one step
// (5 px) larger than the current height. The view and the RTF file show heights only up to a
// cap, so that long reports stay readable.
#include "script/ComparisonReport.h"

#include <string>
#include <vector>

namespace quorvex::script {

struct ReportLine {
    std::string text; // Windows-1251
    Rgb colour;
    bool bold = false;
    bool italic = false;
    int heightPx = 0; // as raised, without limit
    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

// The height a line is shown and saved with: heightPx, at most ReportDocument::kMaxHeightPx.
[[nodiscard]] int shownHeightPx(const ReportLine& line);

class ReportDocument : public ComparisonReport {
public:
    static constexpr int kBaseHeightPx = 10;
    static constexpr int kHeightStepPx = 5;
    static constexpr int kMaxHeightPx = 17; // shown and saved heights stop here

    // Default attributes: blue, bold, italic at the base height (the report's own defaults).
    ReportDocument();

    // The colour becomes the current one, the height is raised one step, then the line is added.
    void AppendReportLine(const std::string& text, Rgb colour) override;
    // Adds a line in the current colour and height, without raising it.
    void appendPlainLine(const std::string& text);
    // Changes the colour for later lines without adding one.
    void setColour(Rgb colour) { m_colour = colour; }
    void setDefaults(Rgb colour, bool bold, bool italic);

    [[nodiscard]] const std::vector<ReportLine>& lines() const { return m_lines; }
    [[nodiscard]] Rgb colour() const { return m_colour; }
    [[nodiscard]] int heightPx() const { return m_heightPx; }
    void clear();

private:
    void add(const std::string& text);

    std::vector<ReportLine> m_lines;
    Rgb m_colour = kReportBlue;
    bool m_bold = true;
    bool m_italic = true;
    int m_heightPx = kBaseHeightPx;
};

} // namespace quorvex::script
