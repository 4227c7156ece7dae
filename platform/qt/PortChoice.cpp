#include "platform/qt/PortChoice.h"

#include "platform/qt/TextCodec.h"

#include <QComboBox>
#include <QStringList>

namespace quorvex::platform {

namespace {
constexpr int kDefaultSpeedIndex = 1; // "19200"
}

bool fillPortList(QComboBox& list, const std::function<std::string()>& next)
{
    QStringList names;
    for (;;) {
        const std::string name = next();
        if (name.empty() || name == "0")
            break;
        names << fromCp1251(name);
    }
    QStringList listed;
    for (int i = 0; i < list.count(); ++i)
        listed << list.itemText(i);
    if (names == listed)
        return false;
    const QString chosen = list.currentText();
    list.clear();
    list.addItems(names);
    list.setCurrentIndex(chosen.isEmpty() ? -1 : list.findText(chosen));
    return true;
}

void selectStoredPort(QComboBox& list, const QString& stored)
{
    int index = 0;
    if (!stored.isEmpty()) {
        for (int i = 0; i < list.count(); ++i) {
            if (list.itemText(i).compare(stored, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
    }
    list.setCurrentIndex(list.count() > 0 ? index : -1);
}

void selectStoredSpeed(QComboBox& list, const QString& stored)
{
    const int index = stored.isEmpty() ? -1 : list.findText(stored);
    list.setCurrentIndex(index >= 0 ? index : kDefaultSpeedIndex);
}

} // namespace quorvex::platform
