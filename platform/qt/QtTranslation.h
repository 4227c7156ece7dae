#pragma once
// Qt's own texts (file dialogs, message-box buttons, context menus) in Russian, as the rest of
// the program speaks: Qt's translation of its base module, from Qt's translations path.
class QTranslator;

namespace quorvex::platform {

// Loads qtbase's Russian translation and installs it in the application, which owns it; the
// translator installed, or nullptr when the translation is not there (Qt's texts then stay
// English; nothing else changes).
QTranslator* installQtTranslation();

} // namespace quorvex::platform
