// Build tool: copies a UTF-8 C++ source file with the contents of its narrow string and
// character literals turned into Windows-1251 bytes, which is what GCC's
// -fexec-charset=CP1251 does at compile time. Comments, identifiers and prefixed literals
// (u8, u, U, L) stay as they are. Compilers without that option compile the copies.
//
//   quorvex_cp1251_copy SOURCE COPY
//
// Exits with 1 and a message naming the line when a literal holds a character that
// Windows-1251 cannot represent, as GCC refuses it too.
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

// Code points of the Windows-1251 bytes 0x80..0xBF (0 where the byte is unassigned);
// 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char32_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

int toCp1251(char32_t c)
{
    if (c < 0x80)
        return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<int>(c - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == c && c != 0)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

bool isIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class Converter {
public:
    explicit Converter(std::string text) : m_in(std::move(text)) {}

    bool run()
    {
        while (m_pos < m_in.size()) {
            const char c = m_in[m_pos];
            if (startsWith("//"))
                copyUntil("\n", false);
            else if (startsWith("/*"))
                copyUntil("*/", true);
            else if (c == '"' || c == '\'') {
                if (!literal())
                    return false;
            } else
                copyOne();
        }
        return true;
    }

    [[nodiscard]] const std::string& output() const { return m_out; }
    [[nodiscard]] int errorLine() const { return m_errorLine; }

private:
    bool startsWith(const char* text) const
    {
        return m_in.compare(m_pos, std::strlen(text), text) == 0;
    }

    void copyOne()
    {
        if (m_in[m_pos] == '\n')
            ++m_line;
        m_out.push_back(m_in[m_pos++]);
    }

    // Copies through the end marker (included when `inclusive`), or to the end of the text.
    void copyUntil(const std::string& marker, bool inclusive)
    {
        const std::size_t end = m_in.find(marker, m_pos + 2);
        const std::size_t stop =
            end == std::string::npos ? m_in.size() : end + (inclusive ? marker.size() : 0);
        while (m_pos < stop)
            copyOne();
    }

    // The identifier characters right before the quote at m_pos.
    [[nodiscard]] std::string prefix() const
    {
        std::size_t start = m_pos;
        while (start > 0 && isIdentifierChar(m_in[start - 1]))
            --start;
        return m_in.substr(start, m_pos - start);
    }

    bool literal()
    {
        const char quote = m_in[m_pos];
        const std::string before = prefix();
        if (quote == '\'' && !before.empty() && before != "u8" && before != "u" && before != "U" &&
            before != "L") {
            copyOne(); // a digit separator such as 1'000
            return true;
        }
        const bool raw = quote == '"' && (before == "R" || before == "u8R" || before == "uR" ||
                                          before == "UR" || before == "LR");
        const std::string encoding = raw ? before.substr(0, before.size() - 1) : before;
        const bool narrow = encoding.empty() || (encoding != "u8" && encoding != "u" &&
                                                 encoding != "U" && encoding != "L");
        copyOne();
        return raw ? rawBody(narrow) : quotedBody(quote, narrow);
    }

    bool quotedBody(char quote, bool narrow)
    {
        while (m_pos < m_in.size() && m_in[m_pos] != quote && m_in[m_pos] != '\n') {
            if (m_in[m_pos] == '\\' && m_pos + 1 < m_in.size())
                copyOne();
            if (!character(narrow))
                return false;
        }
        if (m_pos < m_in.size() && m_in[m_pos] == quote)
            copyOne();
        return true;
    }

    bool rawBody(bool narrow)
    {
        const std::size_t open = m_in.find('(', m_pos);
        if (open == std::string::npos)
            return true;
        const std::string close = ")" + m_in.substr(m_pos, open - m_pos) + "\"";
        while (m_pos <= open)
            copyOne();
        const std::size_t end = m_in.find(close, m_pos);
        const std::size_t stop = end == std::string::npos ? m_in.size() : end;
        while (m_pos < stop) {
            if (!character(narrow))
                return false;
        }
        while (m_pos < m_in.size() && m_pos < stop + close.size())
            copyOne();
        return true;
    }

    // One character of a literal's body: its UTF-8 sequence, converted when narrow.
    bool character(bool narrow)
    {
        const auto lead = static_cast<unsigned char>(m_in[m_pos]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (!narrow || length == 1 || m_pos + length > m_in.size()) {
            copyOne();
            return true;
        }
        char32_t c = lead & (0xFF >> (length + 1));
        for (std::size_t i = 1; i < length; ++i)
            c = (c << 6) | (static_cast<unsigned char>(m_in[m_pos + i]) & 0x3F);
        const int byte = toCp1251(c);
        if (byte < 0) {
            m_errorLine = m_line;
            return false;
        }
        m_out.push_back(static_cast<char>(byte));
        m_pos += length;
        return true;
    }

    std::string m_in;
    std::string m_out;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_errorLine = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: quorvex_cp1251_copy SOURCE COPY\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    Converter converter(std::string(std::istreambuf_iterator<char>(in), {}));
    if (!converter.run()) {
        std::cerr << argv[1] << ":" << converter.errorLine()
                  << ": a literal holds a character that Windows-1251 cannot represent\n";
        return 1;
    }
    const std::filesystem::path copy(argv[2]);
    if (copy.has_parent_path())
        std::filesystem::create_directories(copy.parent_path());
    // Written through a temporary name, so that a build stopped half-way leaves no short copy.
    const std::filesystem::path temporary = copy.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << converter.output();
        if (!out.flush()) {
            std::cerr << temporary << ": cannot be written\n";
            return 1;
        }
    }
    std::filesystem::rename(temporary, copy);
    return 0;
}
