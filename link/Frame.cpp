#include "link/Frame.h"

#include <algorithm>

namespace quorvex::link {

std::uint16_t checksumOf(std::span<const std::uint8_t> bytes)
{
    std::uint16_t sum = 0;
    for (std::uint8_t b : bytes)
        sum = static_cast<std::uint16_t>(sum + b);
    return sum;
}

ChecksumDigits checksumDigits(std::uint16_t sum)
{
    ChecksumDigits digits{};
    for (int i = 0; i < 4; ++i) {
        const int shift = 12 - 4 * i;
        digits[i] = static_cast<std::uint8_t>(0x30 + ((sum >> shift) & 0x0F));
    }
    return digits;
}

int readChecksumDigits(std::span<const std::uint8_t> digits)
{
    int value = 0;
    for (std::uint8_t d : digits)
        value = value * 16 + (static_cast<int>(d) - 0x30);
    return value;
}

std::uint8_t sequenceByte(std::uint8_t counter)
{
    return static_cast<std::uint8_t>(counter % kSequenceSpan + kSequenceBase);
}

namespace {

// Appends 0x05, the checksum digits over frame[1..] and ETX.
void closeFrame(Bytes& frame)
{
    frame.push_back(CHECKED_END);
    const std::uint16_t sum = checksumOf(std::span(frame).subspan(1));
    const ChecksumDigits digits = checksumDigits(sum);
    frame.insert(frame.end(), digits.begin(), digits.end());
    frame.push_back(ETX);
}

} // namespace

Bytes buildRequestFrame(std::uint8_t seq, std::uint8_t cmd, const std::string& data)
{
    const std::size_t n = std::min(data.size(), kMaxRequestData);
    Bytes frame;
    frame.reserve(n + 10);
    frame.push_back(SOH);
    frame.push_back(static_cast<std::uint8_t>(n + kRequestLenBase));
    frame.push_back(seq);
    frame.push_back(cmd);
    frame.insert(frame.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    closeFrame(frame);
    return frame;
}

Bytes buildAnswerFrame(std::uint8_t seq, std::uint8_t cmd, const std::string& data,
                       const StatusBytes& status)
{
    const std::size_t m = std::min(data.size(), kMaxAnswerData);
    Bytes frame;
    frame.reserve(m + 17);
    frame.push_back(SOH);
    frame.push_back(static_cast<std::uint8_t>(m + kAnswerLenBase));
    frame.push_back(seq);
    frame.push_back(cmd);
    frame.insert(frame.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(m));
    frame.push_back(SEPARATOR);
    frame.insert(frame.end(), status.begin(), status.end());
    closeFrame(frame);
    return frame;
}

namespace {

struct StatusBit {
    int byteIndex;
    std::uint8_t mask;
    std::uint32_t errorBit;
};

// Grouped by status byte S0..S5 (S3 carries no error bits).
// clang-format off
constexpr std::array<StatusBit, 25> kStatusBits = {{
    {0, 0x01, 0x00000001}, {0, 0x02, 0x00000002}, {0, 0x04, 0x00000004},
    {0, 0x10, 0x00000008}, {0, 0x20, 0x08000000},
    {1, 0x01, 0x00000010}, {1, 0x02, 0x00000020}, {1, 0x04, 0x00000040},
    {1, 0x08, 0x00000080}, {1, 0x10, 0x00000100}, {1, 0x20, 0x00001000},
    {2, 0x01, 0x00000200}, {2, 0x08, 0x00000400}, {2, 0x20, 0x00000800},
    {4, 0x01, 0x00010000}, {4, 0x04, 0x00002000}, {4, 0x08, 0x00100000},
    {4, 0x10, 0x00020000}, {4, 0x20, 0x10000000},
    {5, 0x01, 0x00040000}, {5, 0x02, 0x00200000}, {5, 0x04, 0x00080000},
    {5, 0x08, 0x00400000}, {5, 0x10, 0x00800000}, {5, 0x20, 0x00004000},
}};
// clang-format on

} // namespace

std::uint32_t errorWordFromStatus(const StatusBytes& status)
{
    std::uint32_t word = 0;
    for (const StatusBit& bit : kStatusBits)
        if (status[bit.byteIndex] & bit.mask)
            word |= bit.errorBit;
    return word;
}

std::string rewriteAnswerData(int command, std::string data)
{
    if (data.size() <= 1)
        return data;
    switch (command) {
    case 0x32:
    case 0x35:
        data.insert(data.begin() + 1, ',');
        break;
    case 0x3E:
        if (data.size() > 8)
            data[8] = ',';
        break;
    case 0x5A:
        std::replace(data.begin(), data.begin() + std::min<std::size_t>(data.size(), 20), ' ', ',');
        break;
    default:
        break;
    }
    return data;
}

int splitAnswerFields(const std::string& data, std::array<std::string, kMaxFields>& fields)
{
    for (std::string& field : fields)
        field.clear();
    if (data.empty())
        return 0;
    int count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = data.find(',', start);
        if (comma == std::string::npos || count == static_cast<int>(fields.size()) - 1) {
            fields[count++].assign(data, start);
            return count;
        }
        fields[count++].assign(data, start, comma - start);
        start = comma + 1;
    }
}

void AnswerReceiver::reset()
{
    m_state = WaitSoh;
    m_ended = false;
    m_nak = false;
    m_digitsComplete = false;
    m_checksumOk = false;
    m_inFrame = false;
    m_dataLength = 0;
    m_index = 0;
    m_sum = 0;
    m_receivedSum = 0;
    m_sequence = 0;
    m_command = 0;
    m_data.clear();
    m_status.fill(0);
    m_raw.clear();
}

void AnswerReceiver::keepRaw(std::uint8_t byte)
{
    if (byte != SYN && m_raw.size() < kMaxRawAnswer)
        m_raw.push_back(static_cast<char>(byte));
}

void AnswerReceiver::feed(std::uint8_t byte)
{
    keepRaw(byte);
    if (byte == NAK) {
        m_state = WaitSoh;
        m_nak = true;
        m_ended = true;
        return;
    }
    if (byte == SOH)
        m_state = WaitSoh;
    else if (byte == ETX)
        m_state = WaitEtx;
    handle(byte);
}

void AnswerReceiver::handle(std::uint8_t byte)
{
    switch (m_state) {
    case WaitSoh:
        m_sum = 0;
        if (byte == SOH) {
            // A new frame: its checksum digits are still to come.
            m_digitsComplete = false;
            m_inFrame = true;
            m_state = WaitLen;
        }
        break;
    case WaitLen:
        if (byte < kAnswerLenBase) {
            m_state = WaitSoh;
            break;
        }
        m_dataLength = byte - kAnswerLenBase;
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        m_state = WaitSeq;
        break;
    case WaitSeq:
        if (byte < kSequenceBase) {
            m_state = WaitSoh;
            break;
        }
        m_sequence = byte - kSequenceBase;
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        m_state = WaitCmd;
        break;
    case WaitCmd:
        m_command = byte;
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        m_index = 0;
        m_data.clear();
        m_state = m_dataLength == 0 ? WaitSeparator : InData;
        break;
    case InData:
        m_data.push_back(static_cast<char>(byte));
        ++m_index;
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        if (m_index >= m_dataLength)
            m_state = WaitSeparator;
        break;
    case WaitSeparator:
        if (byte != SEPARATOR) {
            m_state = WaitSoh;
            break;
        }
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        m_index = 0;
        m_state = InStatus;
        break;
    case InStatus:
        m_status[m_index++] = byte;
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        if (m_index >= kStatusBytes)
            m_state = WaitCheckedEnd;
        break;
    case WaitCheckedEnd:
        if (byte != CHECKED_END) {
            m_state = WaitSoh;
            break;
        }
        m_sum = static_cast<std::uint16_t>(m_sum + byte);
        m_index = 0;
        m_receivedSum = 0;
        m_state = InChecksum;
        break;
    case InChecksum:
        m_receivedSum = m_receivedSum * 16 + (static_cast<int>(byte) - 0x30);
        if (++m_index >= 4) {
            m_digitsComplete = true;
            m_state = WaitEtx;
        }
        break;
    case WaitEtx:
        if (byte == ETX) {
            m_ended = true;
            if (m_inFrame)
                m_checksumOk = m_digitsComplete && m_receivedSum == static_cast<int>(m_sum);
            m_inFrame = false;
        } else {
            m_digitsComplete = false; // the frame is dropped
        }
        m_state = WaitSoh;
        break;
    }
}

std::string hexBytes(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!text.empty())
            text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

} // namespace quorvex::link
