#include "script/RtfWriter.h"

#include "platform/FileReplace.h"

#include <algorithm>
#include <cstdio>

namespace quorvex::script {

namespace {

// Colour table entries in first-use order; \cf1 is the first entry (entry 0 is "auto").
std::vector<Rgb> colourTable(const std::vector<ReportLine>& lines)
{
    std::vector<Rgb> table;
    for (const ReportLine& line : lines) {
        if (std::find(table.begin(), table.end(), line.colour) == table.end())
            table.push_back(line.colour);
    }
    return table;
}

int colourIndex(const std::vector<Rgb>& table, Rgb colour)
{
    return static_cast<int>(std::find(table.begin(), table.end(), colour) - table.begin()) + 1;
}

std::string header(const std::vector<Rgb>& colours)
{
    std::string out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\n"
                      "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\n"
                      "{\\colortbl ;";
    for (const Rgb& c : colours) {
        out += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" +
               std::to_string(c.blue) + ";";
    }
    out += "}\n\\viewkind4\\uc1\n";
    return out;
}

void appendEscaped(std::string& out, const std::string& text)
{
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\\' || ch == '{' || ch == '}') {
            out += '\\';
            out += ch;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(byte));
            out += hex;
        } else {
            out += ch;
        }
    }
}

std::string paragraph(const ReportLine& line, int colour)
{
    std::string out = "\\pard\\plain\\f0\\cf" + std::to_string(colour) + "\\fs" +
                      std::to_string(halfPointsForPixels(shownHeightPx(line)));
    out += line.bold ? "\\b" : "\\b0";
    out += line.italic ? "\\i " : "\\i0 ";
    appendEscaped(out, line.text);
    out += "\\par\n";
    return out;
}

} // namespace

int halfPointsForPixels(int heightPx)
{
    return (heightPx * 3 + 1) / 2;
}

int pixelsForHalfPoints(int halfPoints)
{
    return (halfPoints * 2 + 1) / 3;
}

std::string toRtf(const std::vector<ReportLine>& lines)
{
    const std::vector<Rgb> colours = colourTable(lines);
    std::string out = header(colours);
    for (const ReportLine& line : lines)
        out += paragraph(line, colourIndex(colours, line.colour));
    out += "}\n";
    return out;
}

std::error_code saveRtf(const std::string& fileName, const std::vector<ReportLine>& lines)
{
    return platform::replaceFile(fileName, toRtf(lines));
}

} // namespace quorvex::script
