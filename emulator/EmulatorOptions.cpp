#include "emulator/EmulatorOptions.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace quorvex::emulator {

namespace {

constexpr int kMaxWorkingMs = 3'600'000;

// Digits only: no sign, no blanks.
std::optional<int> parseNumber(const std::string& text, int base)
{
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// Decimal, or hexadecimal with a 0x prefix.
std::optional<int> parseByteValue(const std::string& text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const auto value = hex ? parseNumber(text.substr(2), 16) : parseNumber(text, 10);
    if (!value || *value < 0 || *value > 0xFF)
        return std::nullopt;
    return value;
}

// A command code in hexadecimal, as the operator types it: 4A, 0x4A.
std::optional<int> parseCommandCode(std::string text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = text.substr(2);
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    return parseNumber(text, 16);
}

bool splitAtEquals(const std::string& text, std::string& key, std::string& value)
{
    const auto at = text.find('=');
    if (at == std::string::npos)
        return false;
    key = text.substr(0, at);
    value = text.substr(at + 1);
    return true;
}

bool isPlainField(const std::string& text)
{
    return !text.empty() && text.find_first_of(" ,") == std::string::npos;
}

std::string setStatus(EmulatorOptions& o, const std::string& arg)
{
    std::string key;
    std::string value;
    if (!splitAtEquals(arg, key, value))
        return "--status expects BYTE=VALUE, got '" + arg + "'";
    if (key.size() == 2 && (key[0] == 'S' || key[0] == 's'))
        key = key.substr(1);
    const auto index = parseNumber(key, 10);
    const auto bits = parseByteValue(value);
    if (!index || *index < 0 || *index > 5)
        return "--status: status byte must be 0..5 (or S0..S5), got '" + key + "'";
    if (!bits)
        return "--status: value must be 0..255 or 0x00..0xFF, got '" + value + "'";
    o.faults.statusBits[static_cast<std::size_t>(*index)] |= static_cast<std::uint8_t>(*bits);
    return {};
}

std::string setAnswer(EmulatorOptions& o, const std::string& arg)
{
    std::string key;
    std::string value;
    if (!splitAtEquals(arg, key, value))
        return "--answer expects CMD=DATA, got '" + arg + "'";
    const auto command = parseCommandCode(key);
    if (!command)
        return "--answer: command must be a hexadecimal code 00..FF, got '" + key + "'";
    std::string data;
    if (!unescapeBytes(value, data))
        return "--answer: malformed escape in '" + value + "'";
    if (data.size() > kMaxAnswerDataBytes)
        return "--answer: data longer than 212 bytes does not fit an answer frame";
    o.answers[*command] = data;
    return {};
}

std::string setWorking(EmulatorOptions& o, const std::string& arg)
{
    const auto ms = parseNumber(arg, 10);
    if (!ms || *ms < 0 || *ms > kMaxWorkingMs)
        return "--working: milliseconds must be 0.." + std::to_string(kMaxWorkingMs) + ", got '" +
               arg + "'";
    o.faults.workingMs = *ms;
    return {};
}

std::string setGarbage(EmulatorOptions& o, const std::string& arg)
{
    if (!unescapeBytes(arg, o.faults.garbageBefore))
        return "--garbage: malformed escape in '" + arg + "'";
    return {};
}

std::string setIdentityText(std::string& target, const char* option, const std::string& arg)
{
    if (!isPlainField(arg))
        return std::string(option) + ": must be non-empty, without blanks or commas";
    target = arg;
    return {};
}

std::string setModemState(EmulatorOptions& o, const std::string& arg)
{
    if (arg.find(',') != std::string::npos)
        return "--modem-state: the field may not hold a comma, got '" + arg + "'";
    o.modemState = arg;
    return {};
}

std::string setNetworkFields(EmulatorOptions& o, const std::string& arg)
{
    NetworkFields fields;
    std::size_t index = 0;
    for (const char c : arg) {
        if (c != ',')
            fields[index] += c;
        else if (++index == fields.size())
            break;
    }
    if (index + 1 != fields.size())
        return "--network: expects eight fields separated by commas, got '" + arg + "'";
    o.networkFields = fields;
    return {};
}

// The options that shape the fiscal model's answers mean nothing to a replay, which answers
// from the log alone.
std::string conflictWithReplay(const std::vector<std::string>& given)
{
    static const std::vector<std::string> modelOnly = {
        "--status",      "--answer",  "--version",      "--factory",
        "--modem-state", "--network", "--show-receipts"};
    for (const std::string& option : modelOnly) {
        if (std::find(given.begin(), given.end(), option) != given.end())
            return option + " cannot be used with --replay: the replay answers from the log alone";
    }
    return {};
}

} // namespace

bool unescapeBytes(const std::string& text, std::string& bytes)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            ++i;
            continue;
        }
        if (i + 3 < text.size() && text[i + 1] == 'x') {
            const auto value = parseNumber(text.substr(i + 2, 2), 16);
            if (!value)
                return false;
            out += static_cast<char>(*value);
            i += 3;
            continue;
        }
        return false;
    }
    bytes = out;
    return true;
}

ParsedOptions parseEmulatorOptions(const std::vector<std::string>& args)
{
    using Setter = std::function<std::string(EmulatorOptions&, const std::string&)>;
    const std::map<std::string, Setter> withValue = {
        {"--working", setWorking},
        {"--garbage", setGarbage},
        {"--status", setStatus},
        {"--answer", setAnswer},
        {"--modem-state", setModemState},
        {"--network", setNetworkFields},
        {"--replay",
         [](EmulatorOptions& o, const std::string& a) {
             o.replayLog = a;
             return std::string();
         }},
        {"--version",
         [](EmulatorOptions& o, const std::string& a) {
             return setIdentityText(o.identity.softwareVersion, "--version", a);
         }},
        {"--factory",
         [](EmulatorOptions& o, const std::string& a) {
             return setIdentityText(o.identity.factoryNumber, "--factory", a);
         }},
    };

    ParsedOptions parsed;
    EmulatorOptions& o = parsed.options;
    std::vector<std::string> given;
    for (std::size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
        const std::string& arg = args[i];
        given.push_back(arg);
        if (arg == "--help" || arg == "-h")
            o.help = true;
        else if (arg == "--nak")
            o.faults.answerNak = true;
        else if (arg == "--bad-checksum")
            o.faults.corruptChecksum = true;
        else if (arg == "--silent")
            o.faults.silent = true;
        else if (arg == "--show-receipts")
            o.showReceipts = true;
        else if (auto it = withValue.find(arg); it != withValue.end()) {
            if (i + 1 >= args.size())
                parsed.error = arg + " needs a value";
            else
                parsed.error = it->second(o, args[++i]);
        } else
            parsed.error = "unknown option '" + arg + "' (see --help)";
    }
    if (parsed.error.empty() && o.replayLog)
        parsed.error = conflictWithReplay(given);
    return parsed;
}

std::string emulatorUsage()
{
    return "Usage: quorvex-emu [options]\n"
           "Serves one emulated registrar on a pseudo-terminal until interrupted.\n"
           "The first line of output is the device path to open.\n"
           "\n"
           "The registrar starts fiscalised, with its clock at the machine's local time,\n"
           "operator password 9011, an empty drawer, journal and fiscal memory, and keeps\n"
           "its day (cash, X and Z reports, periodic reports, copies) while it runs. The\n"
           "commands it knows are listed in emulator/COMMANDS.md.\n"
           "\n"
           "  --nak               answer every request with NAK\n"
           "  --bad-checksum      answer with a wrong checksum digit\n"
           "  --silent            never answer\n"
           "  --working MS        send SYN every 60 ms for MS milliseconds, then answer\n"
           "  --garbage TEXT      send TEXT before every answer frame (\\xHH for any byte)\n"
           "  --status BYTE=VALUE OR VALUE into status byte BYTE (0..5), e.g. --status 2=0x01\n"
           "  --version V         software version in the diagnostic answer (default 5.00)\n"
           "  --factory N         factory number in the diagnostic answer (default QV000001)\n"
           "  --answer CMD=DATA   answer command CMD (hex, e.g. 4A) with DATA (\\xHH allowed)\n"
           "  --modem-state TEXT  modem state field of command 6C as sent: A5, 0C, a5, 5, ...\n"
           "  --network FIELDS    the eight fields command 25 answers with, as sent, e.g.\n"
           "                      0,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00\n"
           "  --replay LOG        answer with the answers recorded in the exchange log LOG:\n"
           "                      the n-th same request gets the n-th recorded answer, the\n"
           "                      last one repeats; a request never recorded is refused\n"
           "                      (S0 0x02 and 0x20) and named on standard error; an\n"
           "                      answer recorded with a wrong checksum keeps it wrong.\n"
           "                      Not with --status, --answer, --version, --factory,\n"
           "                      --modem-state, --network or --show-receipts\n"
           "  --show-receipts     write every receipt that ends (its printed lines, with its\n"
           "                      journal number) and every change of the customer display\n"
           "                      to standard error\n"
           "  --help              show this text\n";
}

void applyOptions(const EmulatorOptions& options, Registrar& registrar)
{
    registrar.identity() = options.identity;
    registrar.faults() = options.faults;
    for (const auto& [command, data] : options.answers)
        registrar.setAnswerData(command, data);
    if (options.modemState)
        registrar.model().network().setModemStateField(*options.modemState);
    if (options.networkFields)
        registrar.model().network().setNetworkFields(*options.networkFields);
}

} // namespace quorvex::emulator
