#include "netcfg/NetworkParameters.h"

#include "platform/NumberText.h"

#include <cstdint>
#include <cstdio>

namespace quorvex::netcfg {

const char* const kInvalidAnswerMessage =
    "Информация переданная регистратором неверна. Чтение данных остановлено.";
const char* const kBadAddressMessage = "Некорректный IP-адрес. Ошибка!";
const char* const kBadPortMessage = "Некорректный номер порта. Ошибка!";
const char* const kBadPeriodMessage =
    "Некорректная величина параметра Периодичность связи. Ошибка!";
const char* const kBadRetryMessage = "Некорректная величина параметра Повторной попытки. Ошибка!";

namespace {

constexpr std::size_t kAddressDigits = 8;
constexpr std::size_t kNumberDigits = 4;
constexpr int kOctets = 4;
constexpr int kMaxNumber = 65535;

// "0"-"9" and "A"-"F" only, as the registrar writes them.
std::optional<int> hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

// The byte written as two hex digits at `at`.
std::optional<int> hexByte(const std::string& field, std::size_t at)
{
    const auto high = hexDigit(field[at]);
    const auto low = hexDigit(field[at + 1]);
    if (!high || !low)
        return std::nullopt;
    return *high * 16 + *low;
}

// The integer as upper-case hex with at least `digits` digits (negative ones as 32 bits).
std::string hex(std::int32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<std::uint32_t>(value));
    return text;
}

// Appends one address box to the data, or returns the reason it cannot be sent.
std::string appendAddress(const std::string& text, std::string& data)
{
    std::string rest = text;
    for (int octet = 0; octet < kOctets; ++octet) {
        if (!rest.empty() && rest[0] == '.')
            return kBadAddressMessage;
        const std::size_t dot = rest.find('.');
        const std::string part = rest.substr(0, dot);
        const auto value = platform::toInt32(part);
        if (!value)
            return platform::conversionError(part);
        data += hex(*value, 2);
        if (dot == std::string::npos) {
            data += ',';
            return {};
        }
        rest = rest.substr(dot + 1);
    }
    // A fifth part would follow without a separator and corrupt the request.
    return kBadAddressMessage;
}

// Appends one number box, low byte first, or returns the reason it cannot be sent.
std::string appendNumber(const std::string& text, const char* tooLargeMessage, std::string& data)
{
    const auto value = platform::toInt32(text);
    if (!value)
        return platform::conversionError(text);
    if (*value > kMaxNumber)
        return tooLargeMessage;
    const std::string digits = hex(*value & 0xFFFF, 4);
    data += digits.substr(2, 2) + digits.substr(0, 2);
    return {};
}

} // namespace

bool decodeDhcp(const std::string& field)
{
    return field != "0";
}

std::optional<std::string> decodeAddress(const std::string& field)
{
    if (field.size() < kAddressDigits)
        return std::nullopt;
    std::string dotted;
    for (int octet = 0; octet < kOctets; ++octet) {
        const auto value = hexByte(field, static_cast<std::size_t>(octet) * 2);
        if (!value)
            return std::nullopt;
        if (octet > 0)
            dotted += '.';
        dotted += std::to_string(*value);
    }
    return dotted;
}

std::optional<int> decodeNumber(const std::string& field)
{
    if (field.size() < kNumberDigits)
        return std::nullopt;
    const auto low = hexByte(field, 0);
    const auto high = hexByte(field, 2);
    if (!low || !high)
        return std::nullopt;
    return *high * 256 + *low;
}

AnswerDecoding decodeNetworkAnswer(std::span<const std::string> fields)
{
    const auto field = [&fields](std::size_t index) {
        return index < fields.size() ? fields[index] : std::string();
    };
    AnswerDecoding result;
    result.members.dhcp = decodeDhcp(field(0));
    result.decoded = 1;
    for (std::size_t i = 0; i < result.members.texts.size(); ++i) {
        std::optional<std::string> text;
        if (i < kAddressCount)
            text = decodeAddress(field(i + 1));
        else if (const auto number = decodeNumber(field(i + 1)))
            text = std::to_string(*number);
        if (!text)
            break;
        result.members.texts[i] = *text;
        ++result.decoded;
    }
    return result;
}

EncodedRequest encodeNetworkRequest(const NetworkMembers& members)
{
    EncodedRequest request;
    std::string data = members.dhcp ? "1," : "0,";
    const auto failed = [&request](std::string error) {
        request.error = std::move(error);
        return !request.error.empty();
    };
    for (std::size_t i = 0; i < kAddressCount; ++i) {
        if (failed(appendAddress(members.texts[i], data)))
            return request;
    }
    if (failed(appendNumber(members.texts[member::kPort], kBadPortMessage, data)))
        return request;
    data += ',';
    if (failed(appendNumber(members.texts[member::kPeriod], kBadPeriodMessage, data)))
        return request;
    data += ',';
    if (failed(appendNumber(members.texts[member::kRetry], kBadRetryMessage, data)))
        return request;
    request.data = data;
    return request;
}

} // namespace quorvex::netcfg
