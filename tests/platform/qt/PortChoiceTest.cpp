// Port and speed lists of the connection windows.
#include "platform/qt/PortChoice.h"

#include <QComboBox>
#include <QStringList>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::platform {
namespace {

QStringList items(const QComboBox& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.itemText(i);
    return texts;
}

TEST(PortChoice, ListingStopsAtTheEmptyNameOrZeroAndReplacesTheList)
{
    for (const std::string& end : {std::string(), std::string("0")}) {
        QComboBox list;
        list.addItem(QStringLiteral("old"));
        std::vector<std::string> names{"COM1", "/dev/ttyUSB0", end, "never"};
        std::size_t next = 0;

        fillPortList(list, [&] { return names[next++]; });

        EXPECT_EQ(items(list), (QStringList{"COM1", "/dev/ttyUSB0"})) << end;
    }
}

// The list is touched only when the ports changed, and keeps the chosen port while it is listed.
TEST(PortChoice, ListingKeepsAnUnchangedListAndTheChosenPort)
{
    const struct {
        std::vector<std::string> names;
        bool changed;
        const char* chosen;
    } cases[] = {
        {{"ttyS0", "EMU1", "EMU2", ""}, false, "EMU1"},
        {{"ttyUSB0", "EMU1", "EMU2", ""}, true, "EMU1"},
        {{"ttyS0", "EMU2", ""}, true, ""},
    };
    for (const auto& c : cases) {
        QComboBox list;
        list.addItems({"ttyS0", "EMU1", "EMU2"});
        list.setCurrentIndex(1);
        std::size_t next = 0;

        EXPECT_EQ(fillPortList(list, [&] { return c.names[next++]; }), c.changed);

        EXPECT_EQ(list.currentText(), QLatin1String(c.chosen));
    }
}

TEST(PortChoice, StoredNamesAndSpeedsOrTheFirstPortAnd19200)
{
    const struct {
        const char* port;
        const char* speed;
        int portIndex;
        const char* speedShown;
    } cases[] = {
        {"com2", "57600", 1, "57600"},   // names match without regard to case
        {"ttyusb0", "9600", 2, "9600"},  // a device name too, and it is not upper-cased
        {"NOSUCH", "12345", 0, "19200"}, // not listed
        {"", "", 0, "19200"},            // nothing stored
    };
    for (const auto& c : cases) {
        QComboBox ports;
        ports.addItems({"COM1", "COM2", "ttyUSB0", "COM9"});
        QComboBox speeds;
        speeds.addItems({"9600", "19200", "57600", "115200"});
        ports.setCurrentIndex(3);
        speeds.setCurrentIndex(3);

        selectStoredPort(ports, QString::fromLatin1(c.port));
        selectStoredSpeed(speeds, QString::fromLatin1(c.speed));

        EXPECT_EQ(ports.currentIndex(), c.portIndex) << c.port;
        EXPECT_EQ(speeds.currentText(), QString::fromLatin1(c.speedShown)) << c.speed;
    }
}

} // namespace
} // namespace quorvex::platform
