#include "script/ReportDocument.h"

#include <algorithm>

namespace quorvex::script {

namespace {
constexpr int kHeightLimitPx = 1 << 30;
} // namespace

int shownHeightPx(const ReportLine& line)
{
    return std::min(line.heightPx, ReportDocument::kMaxHeightPx);
}

ReportDocument::ReportDocument() = default;

void ReportDocument::AppendReportLine(const std::string& text, Rgb colour)
{
    m_colour = colour;
    // Saturates far beyond anything shown, so that no report can overflow it.
    m_heightPx = std::min(m_heightPx + kHeightStepPx, kHeightLimitPx);
    add(text);
}

void ReportDocument::appendPlainLine(const std::string& text)
{
    add(text);
}

void ReportDocument::setDefaults(Rgb colour, bool bold, bool italic)
{
    m_colour = colour;
    m_bold = bold;
    m_italic = italic;
}

void ReportDocument::clear()
{
    m_lines.clear();
    m_heightPx = kBaseHeightPx;
}

void ReportDocument::add(const std::string& text)
{
    m_lines.push_back(ReportLine{text, m_colour, m_bold, m_italic, m_heightPx});
}

} // namespace quorvex::script
