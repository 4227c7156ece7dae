// The JUnit writer: every text reaches the XML escaped and as characters XML 1.0 allows;
// numbers keep a full stop whatever the locale.
#include "script/tool/JUnitReport.h"

#include <gtest/gtest.h>

#include <clocale>

namespace quorvex::script {
namespace {

TEST(JUnitReportTest, EscapesMarkupAndReplacesWhatXmlCannotCarry)
{
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::string in, out;
    } rows[] = {
        {"a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c&apos;"},
        {"tab\tline\ncr\r", "tab\tline\ncr&#13;"},
        {"\x01\x04\x1F", replacement + replacement + replacement},
        {"\xD0\x9A\xE2\x90\x83", "\xD0\x9A\xE2\x90\x83"}, // К and the ETX picture kept
        {"\xC0\x80 \xED\xA0\x80 \xEF\xBF\xBE \xD0",
         replacement + replacement + " " + replacement + replacement + replacement + " " +
             replacement + replacement + replacement + " " + replacement},
    };
    for (const auto& row : rows)
        EXPECT_EQ(xmlEscaped(row.in), row.out);
}

TEST(JUnitReportTest, WritesOneSuiteWithItsCasesWhateverTheLocale)
{
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
        std::setlocale(LC_NUMERIC, "C");
    using Kind = JUnitProblem::Kind;
    JUnitSuite suite{"run", "2026-12-09T08:30:00+01:00", "host", 1.5, {}};
    suite.cases.push_back({"a.txt", "EMU1", 0.25, std::nullopt, {"PC: x"}});
    suite.cases.push_back(
        {"b.txt", "EMU1", 1.0, JUnitProblem{Kind::Error, "time-out", "m<", "t"}, {}});
    suite.cases.push_back(
        {"c.txt", "EMU1", 0, JUnitProblem{Kind::Failure, "differences", "d", ""}, {}});
    suite.cases.push_back({"d.txt", "EMU1", 0, JUnitProblem{Kind::Skipped, "", "not run", ""}, {}});

    const std::string xml = junitXml(suite);
    std::setlocale(LC_NUMERIC, "C");

    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n"
                   " <testsuite name=\"run\" tests=\"4\" failures=\"1\" errors=\"1\" skipped=\"1\""
                   " time=\"1.500\" timestamp=\"2026-12-09T08:30:00+01:00\" hostname=\"host\">\n"
                   "  <testcase name=\"a.txt\" classname=\"EMU1\" time=\"0.250\">\n"
                   "    <system-out>PC: x\n</system-out>\n"
                   "  </testcase>\n"
                   "  <testcase name=\"b.txt\" classname=\"EMU1\" time=\"1.000\">\n"
                   "    <error message=\"m&lt;\" type=\"time-out\">t</error>\n"
                   "    <system-out></system-out>\n"
                   "  </testcase>\n"
                   "  <testcase name=\"c.txt\" classname=\"EMU1\" time=\"0.000\">\n"
                   "    <failure message=\"d\" type=\"differences\"></failure>\n"
                   "    <system-out></system-out>\n"
                   "  </testcase>\n"
                   "  <testcase name=\"d.txt\" classname=\"EMU1\" time=\"0.000\">\n"
                   "    <skipped message=\"not run\"/>\n"
                   "    <system-out></system-out>\n"
                   "  </testcase>\n"
                   " </testsuite>\n</testsuites>\n");
}

} // namespace
} // namespace quorvex::script
