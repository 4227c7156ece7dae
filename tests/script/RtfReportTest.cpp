// Report document, RTF writing and reading back, and a check that an office suite reads the
// Cyrillic text and the colours of a saved report.
#include "script/ReportDocument.h"
#include "script/RtfWriter.h"
#include "tests/support/RtfReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace quorvex::script;
using quorvex::test_support::readRtf;
using quorvex::test_support::shownLines;

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path scratchDirectory(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("quorvex-rtf-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

ReportDocument sampleReport()
{
    ReportDocument doc;
    doc.AppendReportLine("Регистратор №1: ", kReportBlue);
    doc.AppendReportLine("Порт: COM1, Скорость:19200", kReportBlue);
    doc.appendPlainLine(" ");
    doc.AppendReportLine("Устройство не отвечает!", kReportRed);
    doc.AppendReportLine("Регистратор №2: {a\\b}", kReportRed);
    return doc;
}

} // namespace

TEST(ReportDocument, ColourStaysAndEveryReportedLineGrowsOneStep)
{
    ReportDocument doc;

    doc.AppendReportLine("a", kReportRed);
    doc.appendPlainLine(" ");
    for (int i = 0; i < 5; ++i)
        doc.AppendReportLine("b", kReportRed);
    doc.setColour(kReportBlue);
    doc.appendPlainLine("c");

    const auto& lines = doc.lines();
    ASSERT_EQ(lines.size(), 8u);
    constexpr int base = ReportDocument::kBaseHeightPx;
    constexpr int step = ReportDocument::kHeightStepPx;
    EXPECT_EQ(lines[0].heightPx, base + step);
    EXPECT_EQ(lines[1].heightPx, lines[0].heightPx); // plain lines are not raised
    EXPECT_EQ(lines[1].colour, kReportRed);
    EXPECT_EQ(lines[6].heightPx, base + 6 * step);
    EXPECT_EQ(shownHeightPx(lines[0]), base + step);
    EXPECT_EQ(shownHeightPx(lines[6]), ReportDocument::kMaxHeightPx);
    EXPECT_EQ(lines[7].colour, kReportBlue);
    EXPECT_TRUE(lines[0].bold && lines[0].italic);
}

TEST(Rtf, WritesCodePage1251AsciiOnlyWithEscapes)
{
    const std::string rtf = toRtf(sampleReport().lines());

    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1251", 0), 0u);
    EXPECT_NE(rtf.find("\\fcharset204"), std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl ;"), std::string::npos);
    for (char ch : rtf)
        ASSERT_LT(static_cast<unsigned char>(ch), 0x80) << "raw byte outside ASCII";
    EXPECT_NE(rtf.find("\\'d0\\'e5\\'e3"), std::string::npos); // "Рег" in Windows-1251
    EXPECT_NE(rtf.find("\\{a\\\\b\\}"), std::string::npos);
}

TEST(Rtf, RoundTripKeepsTextColourAndAttributes)
{
    ReportDocument doc = sampleReport();
    doc.AppendReportLine(std::string("ctl\x01\t\x7f end;"), Rgb{1, 2, 3});

    const auto lines = readRtf(toRtf(doc.lines()));

    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, shownLines(doc.lines()));
}

TEST(Rtf, ReaderRefusesUnbalancedOrForeignText)
{
    EXPECT_FALSE(readRtf("plain text").has_value());
    EXPECT_FALSE(readRtf("{\\rtf1 abc").has_value());
    EXPECT_FALSE(readRtf("{\\rtf1 abc}}").has_value());
    EXPECT_FALSE(readRtf("{\\rtf1 \\'4").has_value());
}

TEST(Rtf, SaveReplacesTheFileAndReportsFailure)
{
    const auto dir = scratchDirectory("save");
    const auto file = dir / "report.txt";
    std::ofstream(file) << std::string(5000, 'x');

    ASSERT_FALSE(saveRtf(file.string(), sampleReport().lines()));

    EXPECT_EQ(readFile(file), toRtf(sampleReport().lines()));
    EXPECT_EQ(saveRtf((dir / "missing" / "r.rtf").string(), sampleReport().lines()),
              std::errc::no_such_file_or_directory);
}

// Whitespace runs as one blank: the office suite wraps long HTML lines at blanks.
std::string collapsedWhitespace(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        const bool blank = ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t';
        if (!blank)
            out += ch;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    return out;
}

// The colour of the last <font color="..."> opened before the text, or "" when none is.
std::string fontColourBefore(const std::string& html, const std::string& text)
{
    const std::size_t at = html.find(text);
    const std::string tag = "<font color=\"";
    const std::size_t font = at == std::string::npos ? at : html.rfind(tag, at);
    if (font == std::string::npos)
        return {};
    return html.substr(font + tag.size(), 7);
}

// LibreOffice converts a saved report to HTML, headless and with a profile of its own, so
// that conversions of parallel test processes never share one.
TEST(Rtf, OfficeSuiteReadsTheCyrillicTextAndTheColours)
{
    ASSERT_EQ(std::system("command -v soffice > /dev/null 2>&1"), 0)
        << "soffice is missing: tools/dev.sh test installs libreoffice-writer-nogui";
    const auto dir = scratchDirectory("office-" + std::to_string(::getpid()));
    ASSERT_FALSE(saveRtf((dir / "report.rtf").string(), sampleReport().lines()));

    const std::string command =
        "cd '" + dir.string() + "' && HOME='" + dir.string() +
        "' LANG=C.UTF-8 LC_ALL=C.UTF-8 soffice -env:UserInstallation=file://" +
        (dir / "profile").string() +
        " --headless --norestore --convert-to html --outdir out report.rtf >> convert.log 2>&1";
    // A fresh profile's first start now and then gives up under load ("user interface language
    // cannot be determined"); the second start finds the profile made.
    if (std::system(command.c_str()) != 0 ||
        !std::filesystem::exists(dir / "out" / "report.html")) {
        ASSERT_EQ(std::system(command.c_str()), 0) << readFile(dir / "convert.log");
    }

    const std::string html = collapsedWhitespace(readFile(dir / "out" / "report.html"));
    std::filesystem::remove_all(dir);
    // The HTML is UTF-8; the test source's literals are Windows-1251, so the expected texts
    // are written out as UTF-8 bytes.
    const std::string registrar = "\xD0\xA0\xD0\xB5\xD0\xB3\xD0\xB8\xD1\x81\xD1\x82\xD1\x80"
                                  "\xD0\xB0\xD1\x82\xD0\xBE\xD1\x80 \xE2\x84\x96"
                                  "1"; // "Регистратор №1"
    const std::string notAnswering =
        "\xD0\xA3\xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xB9\xD1"
        "\x81\xD1\x82\xD0\xB2\xD0\xBE \xD0\xBD\xD0\xB5"; // "Устройство не"
    EXPECT_NE(html.find(registrar), std::string::npos) << html;
    EXPECT_NE(html.find(notAnswering), std::string::npos) << html;
    EXPECT_NE(html.find("{a\\b}"), std::string::npos) << html;
    EXPECT_EQ(fontColourBefore(html, registrar), "#0000ff") << html;
    EXPECT_EQ(fontColourBefore(html, notAnswering), "#ff0000") << html;
}
