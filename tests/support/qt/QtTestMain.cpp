// Test main for window tests: a QApplication on the offscreen platform with the program's input
// gate, then GoogleTest.
#include "platform/qt/OneClickAtATime.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    quorvex::platform::installInputGate();
    return RUN_ALL_TESTS();
}
