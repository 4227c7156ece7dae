#include "tests/support/platform/RecordingDialogs.h"

#include <gtest/gtest.h>

using namespace quorvex::platform;

TEST(RecordingDialogs, RecordsCallsInOrderAndAnswersFromQueues)
{
    RecordingDialogs d;
    d.queueAnswer(true);
    d.queueOpenFile("a.txt");
    d.queueSaveFile(std::nullopt);
    d.queueSaveFile("b.txt");

    d.showMessage("one");
    EXPECT_TRUE(d.askOkCancel("cap", "q1"));
    EXPECT_FALSE(d.askOkCancel("cap", "q2")); // queue exhausted -> Cancel
    EXPECT_EQ(d.openFileName({"F|*.txt", "txt", "/d", ""}), "a.txt");
    EXPECT_EQ(d.openFileName({}), std::nullopt);
    EXPECT_EQ(d.saveFileName({}), std::nullopt);
    EXPECT_EQ(d.saveFileName({}), "b.txt");
    d.showMessage("two");

    ASSERT_EQ(d.calls().size(), 8u);
    EXPECT_EQ(d.calls()[1].kind, DialogCall::Kind::Question);
    EXPECT_EQ(d.calls()[1].caption, "cap");
    EXPECT_EQ(d.calls()[3].kind, DialogCall::Kind::OpenFile);
    EXPECT_EQ(d.calls()[3].options.filter, "F|*.txt");
    EXPECT_EQ(d.calls()[3].options.defaultExtension, "txt");
    EXPECT_EQ(d.messages(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(d.questions(), (std::vector<std::string>{"q1", "q2"}));
    EXPECT_EQ(d.lastMessage(), "two");
}

TEST(RecordingDialogs, ClearForgetsCallsAndQueuedAnswers)
{
    RecordingDialogs d;
    d.queueAnswer(true);
    d.queueOpenFile("x");
    d.showMessage("m");

    d.clear();

    EXPECT_TRUE(d.calls().empty());
    EXPECT_EQ(d.lastMessage(), "");
    EXPECT_FALSE(d.askOkCancel("", ""));
    EXPECT_EQ(d.openFileName({}), std::nullopt);
}

TEST(RecordingDialogs, ScopedGuardInstallsAndRestoresProcessDialogs)
{
    {
        ScopedRecordingDialogs rec;
        rec->queueAnswer(true);
        dialogs().showMessage("через процесс");
        EXPECT_TRUE(dialogs().askOkCancel("", ""));
        EXPECT_EQ(rec->messages(), std::vector<std::string>{"через процесс"});
    }
    EXPECT_FALSE(dialogs().askOkCancel("", "")); // silent stand-in again
}
