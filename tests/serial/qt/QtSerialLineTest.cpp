#include "serial/qt/QtSerialLine.h"
#include "PtyPair.h"
#include "serial/OpenFailure.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <termios.h>

using namespace quorvex::serial;
using quorvex::serial::testing::PtyPair;

namespace {

std::vector<std::uint8_t> allBytes()
{
    std::vector<std::uint8_t> bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<std::uint8_t>(b));
    return bytes;
}

std::vector<std::uint8_t> readAll(SerialLine& line, std::size_t count)
{
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        const ReadResult r = line.readByte();
        if (r.kind != ReadResult::Kind::Byte)
            break;
        bytes.push_back(r.byte);
    }
    return bytes;
}

} // namespace

TEST(QtSerialLine, ExchangesEveryByteValueBothWaysOverAPty)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = openRealSerialLine(pty.slavePath(), 19200);
    ASSERT_NE(line, nullptr);
    const auto bytes = allBytes();

    ASSERT_TRUE(line->write(bytes.data(), bytes.size()));
    ASSERT_TRUE(line->flush());
    EXPECT_EQ(pty.receive(bytes.size()), bytes);

    // Buffered bytes come at once; a 100 ms wait per byte would take 25 s here.
    pty.send(bytes);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(readAll(*line, bytes.size()), bytes);
    EXPECT_LT(clock.elapsed(), 2000);

    EXPECT_TRUE(line->close());
}

TEST(QtSerialLine, QuietLineGivesNothingAfterAboutAHundredMilliseconds)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = openRealSerialLine(pty.slavePath(), 9600);
    ASSERT_NE(line, nullptr);

    QElapsedTimer clock;
    clock.start();
    const ReadResult quiet = line->readByte();
    const qint64 waited = clock.elapsed();

    EXPECT_EQ(quiet.kind, ReadResult::Kind::Nothing);
    EXPECT_GE(waited, 95);
    EXPECT_LT(waited, 1000);
    pty.send({0x06});
    EXPECT_EQ(line->readByte().byte, 0x06); // a time-out leaves the line usable
}

TEST(QtSerialLine, PurgeDiscardsReceivedBytes)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = openRealSerialLine(pty.slavePath(), 19200);
    ASSERT_NE(line, nullptr);
    pty.send({1, 2, 3});
    ASSERT_EQ(line->readByte().byte, 1); // the rest now sits in the buffers

    EXPECT_TRUE(line->purge());

    pty.send({9});
    EXPECT_EQ(line->readByte().byte, 9);
}

TEST(QtSerialLine, AppliesLineSettingsKeepsRtsCtsAndDropsXonXoff)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    {
        const int fd = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios t{};
        ::tcgetattr(fd, &t);
        t.c_cflag |= CRTSCTS | PARENB | CSTOPB;
        t.c_iflag |= IXON | IXOFF;
        ::tcsetattr(fd, TCSANOW, &t);
        ::close(fd);
    }

    auto line = QtSerialLine::open(pty.slavePath(), 19200);
    ASSERT_NE(line, nullptr);

    termios t{};
    ASSERT_EQ(::tcgetattr(static_cast<int>(line->nativeHandle()), &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF)); // would swallow 0x11 and 0x13
    EXPECT_EQ(line->devicePath(), pty.slavePath());
}

TEST(QtSerialLine, RefusesMissingBusyOrBadPortsAndSaysWhy)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto first = openRealSerialLine(pty.slavePath(), 19200);
    ASSERT_NE(first, nullptr);
    const std::string path = pty.slavePath();
    const struct {
        std::string name;
        int baud;
        OpenFailure why;
        std::string path;
    } cases[] = {
        {path, 19200, OpenFailure::InUse, path}, // exclusive
        {"/dev/quorvex-no-such-port", 19200, OpenFailure::NoSuchPort, "/dev/quorvex-no-such-port"},
        {"ttyQuorvexMissing", 19200, OpenFailure::NoSuchPort, "/dev/ttyQuorvexMissing"},
        {"", 19200, OpenFailure::NoSuchPort, ""},
        {path, 0, OpenFailure::NotASerialPort, path},
    };

    for (const auto& c : cases) {
        std::string failure;
        EXPECT_EQ(openRealSerialLine(c.name, c.baud, &failure), nullptr) << c.name;
        EXPECT_EQ(failure, openFailureText(c.why, c.path)) << c.name;
    }

    ASSERT_TRUE(first->close());
    EXPECT_NE(openRealSerialLine(pty.slavePath(), 19200), nullptr); // free again
}

TEST(QtSerialLine, HangUpOfTheOtherSideIsALineErrorOfALineThatIsGone)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = openRealSerialLine(pty.slavePath(), 19200);
    ASSERT_NE(line, nullptr);
    const bool goneWhileOpen = line->gone();

    pty.closeMaster();

    EXPECT_FALSE(goneWhileOpen);
    EXPECT_EQ(line->readByte().kind, ReadResult::Kind::Error);
    EXPECT_TRUE(line->gone());
    line->clearError();
    EXPECT_NE(line->readByte().kind, ReadResult::Kind::Byte);
    EXPECT_TRUE(line->close());
}

// Nothing is exchanged when the other side hangs up: the line tells it once and stops watching,
// so the idle event loop sleeps instead of waking for the dead line again and again.
TEST(QtSerialLine, HangUpWhileIdleIsToldOnceAndTheLineIsNoLongerWatched)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto line = openRealSerialLine(pty.slavePath(), 19200);
    ASSERT_NE(line, nullptr);
    QStringList told;
    const QMetaObject::Connection tell = QObject::connect(
        &lineEvents(), &LineEvents::hungUp, [&told](const QString& path) { told << path; });

    pty.closeMaster();
    int wakeUps = 0;
    QEventLoop idle;
    const QMetaObject::Connection count =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                         [&wakeUps] { ++wakeUps; });
    QTimer::singleShot(300, &idle, &QEventLoop::quit);
    idle.exec();
    QObject::disconnect(count);

    EXPECT_EQ(told, QStringList{QString::fromStdString(pty.slavePath())});
    EXPECT_LT(wakeUps, 30); // a loop woken by the dead line runs thousands of times
    EXPECT_TRUE(line->gone());
    EXPECT_EQ(line->readByte().kind, ReadResult::Kind::Error);
    EXPECT_TRUE(line->close());
    QObject::disconnect(tell);
}

TEST(QtSerialLine, NamesMapToDevicePathsAndFallbackOpensThem)
{
    EXPECT_EQ(serialDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(serialDevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(serialDevicePath(""), "");

    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    PortRegistry registry;
    installRealSerialFallback(registry);
    EXPECT_NE(registry.open(pty.slavePath(), 19200), nullptr);
}
