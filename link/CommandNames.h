#pragma once
// The registrar's command vocabulary: one Russian name per command code.
namespace quorvex::link {

// The name of a command code, Windows-1251 bytes; "Неверная команда" for codes outside
// 0x21..0x77 and for codes without a name.
const char* GetCommandName(int command);

} // namespace quorvex::link
