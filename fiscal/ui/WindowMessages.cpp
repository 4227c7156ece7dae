#include "fiscal/ui/WindowMessages.h"

#include "fiscal/OperatorInput.h"
#include "fiscal/RegistrarStep.h"
#include "platform/Dialogs.h"
#include "platform/qt/TextCodec.h"

namespace quorvex::ui {

void showMessage(const QString& text)
{
    platform::dialogs().showMessage(platform::toCp1251(text));
}

QString notSentMessage()
{
    return platform::fromCp1251(fiscal::notSentMessage());
}

std::optional<int> integerOrMessage(const QString& text)
{
    const std::string bytes = platform::toCp1251(text);
    const auto value = fiscal::parseInteger(bytes);
    if (!value)
        platform::dialogs().showMessage(fiscal::notAnIntegerMessage(bytes));
    return value;
}

} // namespace quorvex::ui
