#include "platform/qt/RussianLocale.h"

#include <QByteArray>
#include <QLocale>
#include <QtGlobal>

namespace quorvex::platform {

void preferRussianSystemLocale()
{
#ifndef Q_OS_WIN
    if (const QByteArray all = qgetenv("LC_ALL"); !all.isEmpty()) {
        qputenv("LANG", all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "ru_RU.UTF-8");
    qputenv("LC_MESSAGES", "ru_RU.UTF-8");
#endif
}

void useRussianDefaultLocale()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

} // namespace quorvex::platform
