#pragma once
// The network-parameter file: eight text lines, one member each in the window's order, line 1
// "1" (DHCP on) or "0" (off), lines 2..8 the box texts as shown. Lines end in CR LF. Texts are
// Windows-1251 bytes; paths are in the file system's own encoding.
#include "netcfg/NetworkParameters.h"

#include <optional>
#include <string>
#include <system_error>

namespace quorvex::netcfg {

// The file's bytes for a set, the texts written as they stand.
[[nodiscard]] std::string formatParameterFile(const NetworkMembers& members);

// Reads a set from a file's bytes the way it is read line by line into a 30-byte buffer:
// - CR LF counts as one line break;
// - a read takes at most 29 characters, so a longer line continues as the next member;
// - one trailing character below 0x20 (the line break) is dropped from members 2..8;
// - after the end of the file, every later member gets the last line read again;
// - DHCP is off when line 1 starts with "0", on otherwise.
// No value is checked.
[[nodiscard]] NetworkMembers parseParameterFile(const std::string& bytes);

// Replaces the file whole or not at all; the error says why it was not.
[[nodiscard]] std::error_code writeParameterFile(const std::string& path,
                                                 const NetworkMembers& members);
// None when the file cannot be opened or read.
[[nodiscard]] std::optional<NetworkMembers> readParameterFile(const std::string& path);

} // namespace quorvex::netcfg
