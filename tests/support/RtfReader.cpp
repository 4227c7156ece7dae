#include "tests/support/RtfReader.h"

#include "script/RtfWriter.h"

#include <cctype>
#include <cstdlib>

namespace quorvex::test_support {

using script::pixelsForHalfPoints;
using script::ReportLine;
using script::Rgb;

namespace {

struct CharState {
    int colourIndex = 0;
    bool bold = false;
    bool italic = false;
    int halfPoints = 24;
    bool skip = false; // inside a destination whose text is not document text
};

struct ControlWord {
    std::string word;
    std::optional<int> parameter;
};

class Reader {
public:
    explicit Reader(const std::string& rtf) : m_rtf(rtf) {}

    std::optional<std::vector<ReportLine>> run()
    {
        if (m_rtf.rfind("{\\rtf", 0) != 0)
            return std::nullopt;
        while (m_pos < m_rtf.size()) {
            if (!step())
                return std::nullopt;
        }
        if (m_depth != 0)
            return std::nullopt;
        return m_lines;
    }

private:
    bool step()
    {
        const char ch = m_rtf[m_pos++];
        switch (ch) {
        case '{':
            m_stack.push_back(m_state);
            ++m_depth;
            return true;
        case '}':
            if (m_depth == 0)
                return false;
            closeGroup();
            return true;
        case '\\':
            return control();
        case '\r':
        case '\n':
            return true;
        default:
            addText(ch);
            return true;
        }
    }

    void closeGroup()
    {
        if (m_inColourTable && m_stack.size() == m_colourTableDepth)
            m_inColourTable = false;
        m_state = m_stack.back();
        m_stack.pop_back();
        --m_depth;
    }

    bool control()
    {
        if (m_pos >= m_rtf.size())
            return false;
        const char next = m_rtf[m_pos];
        if (next == '\\' || next == '{' || next == '}') {
            ++m_pos;
            addText(next);
            return true;
        }
        if (next == '\'') {
            return hexByte();
        }
        if (next == '*') {
            ++m_pos;
            m_state.skip = true;
            return true;
        }
        if (!std::isalpha(static_cast<unsigned char>(next))) {
            ++m_pos; // other control symbols carry no text we need
            return true;
        }
        apply(readWord());
        return true;
    }

    bool hexByte()
    {
        if (m_pos + 3 > m_rtf.size())
            return false;
        const std::string digits = m_rtf.substr(m_pos + 1, 2);
        if (!std::isxdigit(static_cast<unsigned char>(digits[0])) ||
            !std::isxdigit(static_cast<unsigned char>(digits[1])))
            return false;
        m_pos += 3;
        addText(static_cast<char>(std::strtol(digits.c_str(), nullptr, 16)));
        return true;
    }

    ControlWord readWord()
    {
        ControlWord cw;
        while (m_pos < m_rtf.size() && std::isalpha(static_cast<unsigned char>(m_rtf[m_pos])))
            cw.word += m_rtf[m_pos++];
        std::string number;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == '-')
            number += m_rtf[m_pos++];
        while (m_pos < m_rtf.size() && std::isdigit(static_cast<unsigned char>(m_rtf[m_pos])))
            number += m_rtf[m_pos++];
        if (!number.empty() && number != "-")
            cw.parameter = std::atoi(number.c_str());
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == ' ')
            ++m_pos; // the delimiter blank belongs to the control word
        return cw;
    }

    void apply(const ControlWord& cw)
    {
        const std::string& w = cw.word;
        const int value = cw.parameter.value_or(1);
        if (w == "fonttbl" || w == "stylesheet" || w == "info" || w == "pict") {
            m_state.skip = true;
        } else if (w == "colortbl") {
            m_state.skip = true;
            m_inColourTable = true;
            m_colourTableDepth = m_stack.size();
            m_colours.clear();
            m_pendingColour = Rgb{};
        } else if (m_inColourTable && (w == "red" || w == "green" || w == "blue")) {
            setColourComponent(w, value);
        } else if (w == "par") {
            endParagraph();
        } else if (w == "plain") {
            m_state = CharState{0, false, false, 24, m_state.skip};
        } else if (w == "cf") {
            m_state.colourIndex = value;
        } else if (w == "b") {
            m_state.bold = value != 0;
        } else if (w == "i") {
            m_state.italic = value != 0;
        } else if (w == "fs") {
            m_state.halfPoints = value;
        } else if (w == "tab") {
            addText('\t');
        }
    }

    void setColourComponent(const std::string& w, int value)
    {
        const auto component = static_cast<std::uint8_t>(value);
        if (w == "red")
            m_pendingColour.red = component;
        else if (w == "green")
            m_pendingColour.green = component;
        else
            m_pendingColour.blue = component;
    }

    void addText(char ch)
    {
        if (m_inColourTable) {
            // Each ';' ends an entry; the first, empty one is the "auto" colour.
            if (ch == ';') {
                m_colours.push_back(m_pendingColour);
                m_pendingColour = Rgb{};
            }
            return;
        }
        if (!m_state.skip)
            m_text += ch;
    }

    void endParagraph()
    {
        Rgb colour{};
        if (m_state.colourIndex >= 0 && m_state.colourIndex < static_cast<int>(m_colours.size()))
            colour = m_colours[m_state.colourIndex];
        m_lines.push_back(ReportLine{m_text, colour, m_state.bold, m_state.italic,
                                     pixelsForHalfPoints(m_state.halfPoints)});
        m_text.clear();
    }

    const std::string& m_rtf;
    std::size_t m_pos = 0;
    int m_depth = 0;
    CharState m_state;
    std::vector<CharState> m_stack;
    bool m_inColourTable = false;
    std::size_t m_colourTableDepth = 0;
    Rgb m_pendingColour;
    std::vector<Rgb> m_colours;
    std::string m_text;
    std::vector<ReportLine> m_lines;
};

} // namespace

std::optional<std::vector<ReportLine>> readRtf(const std::string& rtf)
{
    return Reader(rtf).run();
}

std::vector<ReportLine> shownLines(std::vector<ReportLine> lines)
{
    for (ReportLine& line : lines)
        line.heightPx = script::shownHeightPx(line);
    return lines;
}

} // namespace quorvex::test_support
