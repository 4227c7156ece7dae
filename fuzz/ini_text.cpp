// The INI text on any bytes: read and written back it is the same bytes; a key set in it is
// found again with the value set, also after the text is written out and read back.
//
// Input: bytes 0..2 give the lengths of the section name, key name and value (modulo 16, 16
// and 64), which follow; the rest is the file's text.
#include "FuzzCheck.h"
#include "platform/IniText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

using quorvex::platform::IniText;

namespace {

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\v\f\r";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const char* text = reinterpret_cast<const char*>(data);
    std::size_t pos = 3;
    const auto take = [&](std::size_t length) {
        length = std::min(length, size - pos);
        std::string part(text + pos, length);
        pos += length;
        return part;
    };
    const std::string section = take(data[0] % 16);
    const std::string key = take(data[1] % 16);
    const std::string value = take(data[2] % 64);
    const std::string file = take(size - pos);

    IniText ini(file);
    FUZZ_CHECK(ini.bytes() == file);
    if (!IniText::isValidSectionName(section) || !IniText::isValidKeyName(key) ||
        !IniText::isValidValue(value))
        return 0;

    ini.set(section, key, value);
    FUZZ_CHECK(ini.find(section, key) == trimmed(value));
    const IniText reread(ini.bytes());
    FUZZ_CHECK(reread.find(section, key) == trimmed(value));
    FUZZ_CHECK(reread.bytes() == ini.bytes());
    return 0;
}
