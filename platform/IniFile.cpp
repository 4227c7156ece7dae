#include "platform/IniFile.h"

#include "platform/FileReplace.h"
#include "platform/IniText.h"
#include "platform/NativePath.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace quorvex::platform {

namespace fs = std::filesystem;

namespace {

// The whole file, or no value when it does not exist or cannot be read.
std::optional<std::string> readWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return bytes.str();
}

std::string cutToBuffer(std::string text, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    if (text.size() > static_cast<std::size_t>(bufferSize - 1))
        text.resize(static_cast<std::size_t>(bufferSize - 1));
    return text;
}

std::string withoutQuotePair(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string withoutTrailingSpaces(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::optional<std::string> lookUp(const std::string& section, const std::string& key,
                                  const std::string& file)
{
    const auto bytes = readWholeFile(filePath(file));
    if (!bytes)
        return std::nullopt;
    return IniText(*bytes).find(section, key);
}

// Decimal digits after an optional sign; arithmetic wraps at 32 bits like the Windows parser.
int leadingInteger(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        magnitude = 0u - magnitude;
    return static_cast<int>(magnitude);
}

} // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, int bufferSize,
                                    const std::string& file)
{
    const auto value = lookUp(section, key, file);
    if (!value)
        return cutToBuffer(withoutTrailingSpaces(defaultValue), bufferSize);
    return cutToBuffer(withoutQuotePair(*value), bufferSize);
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& file)
{
    const auto value = lookUp(section, key, file);
    if (!value)
        return defaultValue;
    const std::string text = withoutQuotePair(*value);
    if (text.empty())
        return defaultValue;
    return leadingInteger(text);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file)
{
    if (!IniText::isValidSectionName(section) || !IniText::isValidKeyName(key) ||
        !IniText::isValidValue(value) || file.empty())
        return false;
    const fs::path path = filePath(file);
    std::error_code error;
    std::string bytes;
    if (fs::exists(path, error)) {
        if (fs::is_directory(path, error))
            return false;
        const auto existing = readWholeFile(path);
        if (!existing)
            return false;
        bytes = *existing;
    }
    IniText text(bytes);
    text.set(section, key, value);
    return !replaceFile(file, text.bytes());
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(filePath(path), error);
    return !error && fs::exists(status) && !fs::is_directory(status);
}

} // namespace quorvex::platform
