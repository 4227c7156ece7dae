#include "script/TextFunctions.h"

#include <algorithm>
#include <climits>

namespace quorvex::script {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < ' ';
}

} // namespace

bool IsNumb(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

bool IsStr(const std::string& text)
{
    return !text.empty() && text.front() == '"' && text.back() == '"';
}

int GetAnsiString(const std::string& text)
{
    static const std::string prefix = "%Ret";
    const std::string trimmed = trimText(text);
    if (trimmed.compare(0, prefix.size(), prefix) != 0)
        return -1;
    const std::string digits = trimmed.substr(prefix.size());
    if (digits.empty() || !IsNumb(digits))
        return -1;
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return -1;
    }
    return static_cast<int>(value);
}

bool SearchInFile(const std::string& text, std::FILE* file, long& position)
{
    if (text.empty() || file == nullptr)
        return false;
    std::fseek(file, position, SEEK_SET);
    std::string line;
    for (;;) {
        const long lineStart = std::ftell(file);
        if (!readScriptLine(file, line)) {
            position = lineStart;
            return false;
        }
        if (line.find(text) != std::string::npos) {
            std::fseek(file, lineStart, SEEK_SET);
            position = lineStart;
            return true;
        }
    }
}

bool readScriptLine(std::FILE* file, std::string& line)
{
    line.clear();
    if (file == nullptr)
        return false;
    while (line.size() < static_cast<std::size_t>(ScriptLineBufferSize - 1)) {
        const int c = std::fgetc(file);
        if (c == EOF)
            break;
        line.push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    return !line.empty();
}

std::string trimText(const std::string& text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), isBlankOrControl);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlankOrControl).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string trimTrailingControls(const std::string& text)
{
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isControl).base();
    return std::string(text.begin(), last);
}

} // namespace quorvex::script
