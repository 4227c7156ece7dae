#include "fiscal/ui/WindowMessages.h"

#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "platform/qt/TextCodec.h"

namespace quorvex::ui {

void showMessage(const QString& text)
{
    platform::dialogs().showMessage(platform::toCp1251(text));
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
