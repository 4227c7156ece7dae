#include "netcfg/ParameterFile.h"

#include "platform/FileReplace.h"
#include "platform/NativePath.h"

#include <filesystem>
#include <fstream>

namespace quorvex::netcfg {

namespace {

constexpr std::size_t kLineBuffer = 30; // one byte of it ends the text
// Eight reads of at most 29 characters, each at most two bytes on disk (CR LF).
constexpr std::size_t kBytesEverRead = kMemberCount * (kLineBuffer - 1) * 2 + 1;

// Reads lines as a text-mode stream does into a fixed buffer; a read after the end leaves the
// buffer as it was.
class LineReader {
public:
    explicit LineReader(const std::string& bytes) : m_bytes(bytes) {}

    const std::string& next()
    {
        if (m_at >= m_bytes.size())
            return m_buffer;
        std::string line;
        while (m_at < m_bytes.size() && line.size() < kLineBuffer - 1) {
            char c = m_bytes[m_at++];
            if (c == '\r' && m_at < m_bytes.size() && m_bytes[m_at] == '\n')
                c = m_bytes[m_at++];
            line += c;
            if (c == '\n')
                break;
        }
        // The buffer is a C string: a NUL byte ends its text.
        m_buffer = line.substr(0, line.find('\0'));
        return m_buffer;
    }

    // Drops one trailing character below 0x20 from the buffer, as the member's text.
    const std::string& trimmed()
    {
        if (!m_buffer.empty() && static_cast<unsigned char>(m_buffer.back()) < 0x20)
            m_buffer.pop_back();
        return m_buffer;
    }

private:
    const std::string& m_bytes;
    std::size_t m_at = 0;
    std::string m_buffer;
};

} // namespace

std::string formatParameterFile(const NetworkMembers& members)
{
    std::string bytes = members.dhcp ? "1\r\n" : "0\r\n";
    for (const std::string& text : members.texts)
        bytes += text + "\r\n";
    return bytes;
}

NetworkMembers parseParameterFile(const std::string& bytes)
{
    LineReader reader(bytes);
    NetworkMembers members;
    const std::string& first = reader.next();
    members.dhcp = first.empty() || first[0] != '0';
    for (std::string& text : members.texts) {
        reader.next();
        text = reader.trimmed();
    }
    return members;
}

std::error_code writeParameterFile(const std::string& path, const NetworkMembers& members)
{
    return platform::replaceFile(path, formatParameterFile(members));
}

std::optional<NetworkMembers> readParameterFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(platform::filePath(path), error))
        return std::nullopt;
    std::ifstream file(platform::filePath(path), std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes(kBytesEverRead, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return parseParameterFile(bytes);
}

} // namespace quorvex::netcfg
