// Decoding the network parameters' answer and encoding the write request.
#include "netcfg/NetworkParameters.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvex::netcfg {
namespace {

NetworkMembers members(bool dhcp, std::array<std::string, 7> texts)
{
    return NetworkMembers{dhcp, std::move(texts)};
}

const NetworkMembers kExample = members(
    false, {"192.168.1.10", "255.255.255.0", "192.168.1.1", "10.0.0.5", "8080", "60", "30"});

TEST(NetworkAnswer, AddressFieldsTakeTheirFirstEightUpperCaseHexDigits)
{
    const struct {
        const char* field;
        std::optional<std::string> address;
    } cases[] = {
        {"C0A80001", "192.168.0.1"},
        {"00000000", "0.0.0.0"},
        {"C0A8000123", "192.168.0.1"}, // the rest of a longer field is ignored
        {"c0a80001", std::nullopt},
        {"C0A800", std::nullopt},
        {"", std::nullopt},
        {"C0A8000G", std::nullopt},
        {"C0 80001", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeAddress(c.field), c.address) << c.field;
}

TEST(NetworkAnswer, NumberFieldsAreLowByteFirst)
{
    const struct {
        const char* field;
        std::optional<int> value;
    } cases[] = {
        {"5000", 80},  {"901F", 8080},         {"FFFF", 65535},       {"3C00", 60},
        {"1E00X", 30}, {"901f", std::nullopt}, {"901", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeNumber(c.field), c.value) << c.field;
}

TEST(NetworkAnswer, DhcpIsOnUnlessTheFieldIsExactlyZero)
{
    EXPECT_FALSE(decodeDhcp("0"));
    for (const char* field : {"1", "", "00", "2"})
        EXPECT_TRUE(decodeDhcp(field)) << '"' << field << '"';
}

TEST(NetworkAnswer, EightFieldsFillTheWholeSet)
{
    const std::vector<std::string> fields = {"1",        "C0A8010A", "FFFFFF00", "C0A80101",
                                             "0A000005", "901F",     "3C00",     "1E00"};

    const AnswerDecoding decoding = decodeNetworkAnswer(fields);

    EXPECT_TRUE(decoding.complete());
    EXPECT_EQ(decoding.members, members(true, {"192.168.1.10", "255.255.255.0", "192.168.1.1",
                                               "10.0.0.5", "8080", "60", "30"}));
}

TEST(NetworkAnswer, DecodingStopsAtTheFirstInvalidField)
{
    const std::vector<std::string> lowerCaseGateway = {
        "0", "C0A8010A", "FFFFFF00", "c0a80101", "0A000005", "901F", "3C00", "1E00"};
    const std::vector<std::string> noRetry = {"0",        "C0A8010A", "FFFFFF00", "C0A80101",
                                              "0A000005", "901F",     "3C00"};

    const AnswerDecoding stopped = decodeNetworkAnswer(lowerCaseGateway);
    const AnswerDecoding missing = decodeNetworkAnswer(noRetry);

    EXPECT_EQ(stopped.decoded, 3);
    EXPECT_EQ(stopped.members, members(false, {"192.168.1.10", "255.255.255.0"}));
    EXPECT_EQ(missing.decoded, 7);
    EXPECT_FALSE(missing.complete());
    EXPECT_EQ(missing.members.texts[member::kPeriod], "60");
}

// The example set's request data with one member's wire text replaced.
std::string exampleDataWith(std::size_t box, const std::string& wire)
{
    std::array<std::string, 7> wires = {"C0A8010A", "FFFFFF00", "C0A80101", "0A000005",
                                        "901F",     "3C00",     "1E00"};
    wires[box] = wire;
    std::string data = "0";
    for (const std::string& text : wires)
        data += "," + text;
    return data;
}

TEST(NetworkRequest, TheExampleSetIsEncodedMemberByMember)
{
    NetworkMembers dhcpOn = kExample;
    dhcpOn.dhcp = true;

    const EncodedRequest request = encodeNetworkRequest(kExample);

    EXPECT_TRUE(request.ok());
    EXPECT_EQ(request.data, "0,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00");
    EXPECT_EQ(encodeNetworkRequest(dhcpOn).data,
              "1,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00");
}

// Each case changes one box of the example set.
TEST(NetworkRequest, EachBoxIsCheckedAndEncodedAsItIsBuilt)
{
    const std::string notInteger = "Ошибка преобразования в число: ";
    const struct {
        std::size_t box;
        const char* text;
        const char* sent;  // the member on the wire
        std::string error; // or the message that stops the request
    } cases[] = {
        {member::kPort, "65535", "FFFF", ""},
        {member::kPort, "65536", "", kBadPortMessage},
        {member::kPort, "-1", "FFFF", ""},
        {member::kPort, "0", "0000", ""},
        {member::kPort, "abc", "", notInteger + "abc"},
        {member::kPeriod, "5000", "8813", ""}, // the hint's 1440 is not enforced
        {member::kPeriod, "65536", "", kBadPeriodMessage},
        {member::kRetry, "5000", "8813", ""},
        {member::kRetry, "65536", "", kBadRetryMessage},
        {member::kRetry, "", "", notInteger},
        {member::kDestination, "10.0.1", "0A0001", ""},
        {member::kDestination, "10.0.0.300", "0A000012C", ""},
        {member::kDestination, "7", "07", ""},
        {member::kDestination, "10..0.1", "", kBadAddressMessage},
        {member::kDestination, ".10.0.0", "", kBadAddressMessage},
        {member::kDestination, "10.0.0.", "", notInteger},
        {member::kDestination, "10.0.0.1.2", "", kBadAddressMessage},
        {member::kDestination, "10.0.0.1.", "", kBadAddressMessage},
        {member::kDestination, "10.x.0.1", "", notInteger + "x"},
        {member::kStaticAddress, "", "", notInteger},
    };
    for (const auto& c : cases) {
        NetworkMembers changed = kExample;
        changed.texts[c.box] = c.text;

        const EncodedRequest request = encodeNetworkRequest(changed);

        EXPECT_EQ(request.error, c.error) << c.text;
        EXPECT_EQ(request.data, c.error.empty() ? exampleDataWith(c.box, c.sent) : "") << c.text;
    }
}

TEST(NetworkRequest, TheFirstFailingBoxDecidesTheMessage)
{
    NetworkMembers bad = kExample;
    bad.texts[member::kSubnetMask] = "255..255.0";
    bad.texts[member::kPort] = "70000";

    EXPECT_EQ(encodeNetworkRequest(bad).error, kBadAddressMessage);
}

} // namespace
} // namespace quorvex::netcfg
