#pragma once
// Emulated registrar commands: the modem state report and the acquirer-link network parameters.
// Both are kept as the texts the registrar answers with, so that a test or a quorvex-emu option
// can make it answer anything, malformed fields included.
#include "emulator/DeviceState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::emulator {

constexpr int kWriteNetworkCommand = 0x24; // 36
constexpr int kReadNetworkCommand = 0x25;  // 37
constexpr int kModemStateCommand = 0x6C;   // 108

// The four date and time fields of the modem state answer, shown by the program as they come.
struct ModemTimes {
    std::string undeliveredDate = "00.00.00"; // first document not yet delivered
    std::string undeliveredTime = "00:00";
    std::string personalisedDate = "01.12.26";
    std::string personalisedTime = "10:30";
};

// The eight network members as answer fields: DHCP "0"/"1", four addresses of 8 hex digits,
// port, connection period and retry period of 4 hex digits each, low byte first.
using NetworkFields = std::array<std::string, 8>;

class NetworkCommands {
public:
    // The answer to a command of this family; nullopt for a command it does not know.
    [[nodiscard]] std::optional<ModelAnswer> handle(int command, const std::string& data,
                                                    DeviceState& state);

    // The state byte as two upper-case hex digits.
    void setModemState(std::uint8_t state);
    // Field 1 of the modem answer exactly as it is to be sent ("A5", "a5", "5", ...).
    void setModemStateField(std::string field) { m_modemState = std::move(field); }
    [[nodiscard]] const std::string& modemStateField() const { return m_modemState; }
    ModemTimes& modemTimes() { return m_modemTimes; }

    // Stored by command 36 (checked) or set here as they are to be answered (unchecked).
    void setNetworkFields(const NetworkFields& fields) { m_network = fields; }
    [[nodiscard]] const NetworkFields& networkFields() const { return m_network; }

private:
    [[nodiscard]] ModelAnswer modemReport(const std::string& data, DeviceState& state) const;
    [[nodiscard]] ModelAnswer readNetwork(const std::string& data) const;
    [[nodiscard]] ModelAnswer writeNetwork(const std::string& data);

    // ID_DEV set, technical registration done, personalised, Ethernet cable connected.
    std::string m_modemState = "78";
    ModemTimes m_modemTimes;
    NetworkFields m_network = {"0",        "C0A8010A", "FFFFFF00", "C0A80101",
                               "0A000005", "901F",     "3C00",     "1E00"};
};

} // namespace quorvex::emulator
