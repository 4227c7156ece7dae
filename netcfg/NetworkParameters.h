#pragma once
// The acquirer-link network parameters: eight members, read with command 37 and written with
// command 36. In the window and in the parameter file the members are texts as the operator
// types them; on the wire addresses are 8 hex digits and numbers 4 hex digits, low byte first.
// Texts are Windows-1251 bytes.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace quorvex::netcfg {

constexpr int kWriteNetworkCommand = 36;
constexpr int kReadNetworkCommand = 37;

constexpr int kMemberCount = 8;
constexpr std::size_t kAddressCount = 4; // members 2..5
constexpr std::size_t kNumberCount = 3;  // members 6..8

// Members 2..8 by their place in NetworkMembers::texts.
namespace member {
constexpr std::size_t kStaticAddress = 0;
constexpr std::size_t kSubnetMask = 1;
constexpr std::size_t kGateway = 2;
constexpr std::size_t kDestination = 3;
constexpr std::size_t kPort = 4;
constexpr std::size_t kPeriod = 5;
constexpr std::size_t kRetry = 6;
} // namespace member

// The set as the window shows it: DHCP on or off, then members 2..8 as texts.
struct NetworkMembers {
    bool dhcp = false;
    std::array<std::string, kMemberCount - 1> texts;

    friend bool operator==(const NetworkMembers&, const NetworkMembers&) = default;
};

// Messages of the window, Windows-1251.
extern const char* const kInvalidAnswerMessage;
extern const char* const kBadAddressMessage;
extern const char* const kBadPortMessage;
extern const char* const kBadPeriodMessage;
extern const char* const kBadRetryMessage;

// ---- Reading ------------------------------------------------------------------------------

// Member 1 of an answer: on unless the field is exactly "0".
[[nodiscard]] bool decodeDhcp(const std::string& field);
// Dotted decimal of the first 8 characters, two hex digits ("0"-"9", "A"-"F") per octet; none
// when one of them is no such digit or the field is shorter.
[[nodiscard]] std::optional<std::string> decodeAddress(const std::string& field);
// The 16-bit value of the first 4 characters, low byte first; none when one of them is no hex
// digit or the field is shorter.
[[nodiscard]] std::optional<int> decodeNumber(const std::string& field);

struct AnswerDecoding {
    NetworkMembers members; // the members decoded; the rest are empty
    int decoded = 0;        // members decoded, 1..8, in order; 8 when the whole answer is good
    [[nodiscard]] bool complete() const { return decoded == kMemberCount; }
};

// Decodes members in order from answer fields 1..8, stopping at the first invalid one. A
// field beyond the given ones counts as empty.
[[nodiscard]] AnswerDecoding decodeNetworkAnswer(std::span<const std::string> fields);

// ---- Writing ------------------------------------------------------------------------------

struct EncodedRequest {
    std::string data;  // command 36's data; empty on failure
    std::string error; // the first failing check's message; empty on success
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Builds command 36's data, checking each box as it goes: an address is up to four integers
// separated by single dots, each sent as at least two hex digits; a number is an integer up to
// 65535 (negative ones pass), sent as its low 16 bits, low byte first.
[[nodiscard]] EncodedRequest encodeNetworkRequest(const NetworkMembers& members);

} // namespace quorvex::netcfg
