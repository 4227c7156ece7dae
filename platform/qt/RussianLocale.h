#pragma once
// The program speaks Russian whatever the environment's locale: calendars, the file dialog's
// dates and sizes, Qt's own texts. Numbers for the wire and for files never take a locale.
namespace quorvex::platform {

// Before the application object exists: Qt's system locale takes its dates from LC_TIME and its
// texts and sizes from LC_MESSAGES, so both are set to Russian. An LC_ALL, which would beat
// them, is moved to LANG, where it still decides everything else (the number formats among it).
// Does nothing on Windows, where the system's own settings apply.
void preferRussianSystemLocale();

// After it exists: the default locale (calendars, date edits) is Russian.
void useRussianDefaultLocale();

} // namespace quorvex::platform
