#pragma once
// Command-line options of the stand-alone emulator: one option per fault, the identity and
// answer overrides. Arguments arrive as Windows-1251 bytes.
#include "emulator/Registrar.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::emulator {

struct EmulatorOptions {
    Identity identity;
    Faults faults;
    std::map<int, std::string> answers; // command code -> answer data
    bool help = false;
    // Modem and network answers as they are to be sent, malformed ones included.
    std::optional<std::string> modemState;      // field 1 of the modem state answer
    std::optional<NetworkFields> networkFields; // the eight fields of the network answer
    bool showReceipts = false; // each ended receipt and each display change to standard error
    std::optional<std::string> replayLog; // answer from this exchange log instead of the model
};

struct ParsedOptions {
    EmulatorOptions options;
    std::string error; // empty when every argument was understood
};

// args excludes the program name. The first bad argument stops parsing with a message naming it.
[[nodiscard]] ParsedOptions parseEmulatorOptions(const std::vector<std::string>& args);
// The --help text, one option a line.
[[nodiscard]] std::string emulatorUsage();
// Puts identity, faults and answer overrides into a registrar.
void applyOptions(const EmulatorOptions& options, Registrar& registrar);

// Replaces \xHH and \\ by the bytes they stand for; other text is kept as it is.
// False, with bytes left unchanged, when a backslash starts no such escape.
[[nodiscard]] bool unescapeBytes(const std::string& text, std::string& bytes);

} // namespace quorvex::emulator
