#include "script/ComparisonReport.h"

namespace quorvex::script {

namespace {
class DroppingReport final : public ComparisonReport {
public:
    void AppendReportLine(const std::string&, Rgb) override {}
};
DroppingReport g_dropping;
ComparisonReport* g_report = &g_dropping;
} // namespace

ComparisonReport& comparisonReport()
{
    return *g_report;
}

void setComparisonReport(ComparisonReport* report)
{
    g_report = report ? report : &g_dropping;
}

} // namespace quorvex::script
