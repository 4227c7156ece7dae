#include "fiscal/ui/WindowMessages.h"

#include "platform/NumberText.h"
#include "fiscal/RegistrarStep.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"
#include "platform/MessagePump.h"
#include "platform/qt/TextCodec.h"

namespace quorvex::ui {

void showMessage(const QString& text)
{
    platform::dialogs().showMessage(platform::toCp1251(text));
}

bool tellOutcome(int sent, const QString& done, const QString& failed)
{
    platform::processPendingMessages();
    if (sent == -1) {
        showMessage(notSentMessage());
        return false;
    }
    const bool ok = link::resultState().errorCount <= 0;
    showMessage(ok ? done : failed);
    return ok;
}

QString notSentMessage()
{
    return platform::fromCp1251(fiscal::notSentMessage());
}

std::optional<int> integerOrMessage(const QString& text)
{
    const std::string bytes = platform::toCp1251(text);
    const auto value = platform::integerValue(bytes);
    if (!value)
        platform::dialogs().showMessage(platform::conversionError(bytes));
    return value;
}

} // namespace quorvex::ui
