#include "link/ui/LogFailureNotice.h"

#include "link/ExchangeLog.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/qt/TextCodec.h"

#include <QCoreApplication>
#include <QTimer>

#include <iostream>

namespace quorvex::ui {

void tellLogFailures(link::Link& link)
{
    link.exchangeLog().setFailureListener([](const link::LogFailure& failure) {
        const bool opening = failure.kind == link::LogFailure::Kind::CannotOpen;
        std::cerr << "quorvex: " << (opening ? "cannot open" : "cannot write")
                  << " the exchange log " << failure.path << ": "
                  << platform::reasonText(failure.reason) << std::endl;
        const QString text = (opening ? QStringLiteral("Невозможно открыть журнал обмена ")
                                      : QStringLiteral("Ошибка записи в журнал обмена ")) +
                             platform::fromFileName(failure.path) + QStringLiteral(": ") +
                             platform::fromCp1251(platform::reasonTextForWindow(failure.reason));
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [text] { platform::dialogs().showMessage(platform::toCp1251(text)); });
    });
}

} // namespace quorvex::ui
