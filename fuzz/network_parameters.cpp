// The network-parameter file and the command-36/37 codecs on any bytes. A set read from the file
// and written back reads as the same set (when its texts are plain and short enough to fit one
// read each). A set that encodes is either refused with a message or sent as eight fields that
// decode completely and encode again to the same data.
#include "FuzzCheck.h"
#include "emulator/DayData.h"
#include "netcfg/NetworkParameters.h"
#include "netcfg/ParameterFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace quorvex::netcfg;

namespace {

// Longest text that one 30-byte line read takes together with its line break.
constexpr std::size_t kLongestWholeText = 28;

bool plainAndShort(const NetworkMembers& members)
{
    for (const std::string& text : members.texts) {
        if (text.size() > kLongestWholeText)
            return false;
        for (const char c : text) {
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const NetworkMembers members = parseParameterFile(bytes);
    if (plainAndShort(members))
        FUZZ_CHECK(parseParameterFile(formatParameterFile(members)) == members);

    const EncodedRequest request = encodeNetworkRequest(members);
    FUZZ_CHECK(request.ok() == !request.data.empty());
    if (!request.ok())
        return 0;
    const std::vector<std::string> fields = quorvex::emulator::daydata::splitFields(request.data);
    FUZZ_CHECK(fields.size() == kMemberCount);
    // Octets above 255 or negative numbers widen their fields; only exact widths read back.
    static constexpr std::size_t widths[kMemberCount] = {1, 8, 8, 8, 8, 4, 4, 4};
    for (int i = 0; i < kMemberCount; ++i) {
        if (fields[static_cast<std::size_t>(i)].size() != widths[i])
            return 0;
    }
    const AnswerDecoding decoded = decodeNetworkAnswer(fields);
    FUZZ_CHECK(decoded.complete());
    FUZZ_CHECK(decoded.members.dhcp == members.dhcp);
    FUZZ_CHECK(encodeNetworkRequest(decoded.members).data == request.data);
    return 0;
}
