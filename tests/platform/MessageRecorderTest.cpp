#include "platform/MessageRecorder.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <vector>

namespace vexa {
namespace {

/// A recorder whose failures are collected instead of aborting the test run.
struct CollectingRecorder {
    QStringList failures;
    MessageRecorder recorder{[this](const QString& what) { failures.push_back(what); }};
};

MessageRequest Box(MessageButtons buttons, const QString& text = QStringLiteral("text"),
                   const QString& caption = QStringLiteral("caption"),
                   MessageIcon icon = MessageIcon::Question)
{
    MessageRequest request;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    return request;
}

TEST(MessageRecorder, RecordsBoxesAndBeepsInTheOrderTheyCame)
{
    CollectingRecorder c;
    c.recorder.script({MessageAnswer::No});

    Beep();
    EXPECT_EQ(ShowMessage(nullptr, "first", "One", MessageIcon::Information), MessageAnswer::Ok);
    EXPECT_EQ(ShowMessage(nullptr, "second", "Two", MessageIcon::Question, MessageButtons::YesNo,
                          true),
              MessageAnswer::No);
    Beep();

    const auto& calls = c.recorder.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_TRUE(calls[0].isBeep);
    EXPECT_FALSE(calls[1].isBeep);
    EXPECT_EQ(calls[1].request.text, "first");
    EXPECT_EQ(calls[1].request.caption, "One");
    EXPECT_EQ(calls[1].request.icon, MessageIcon::Information);
    EXPECT_EQ(calls[1].answer, MessageAnswer::Ok);
    EXPECT_EQ(calls[2].request.text, "second");
    EXPECT_EQ(calls[2].request.buttons, MessageButtons::YesNo);
    EXPECT_TRUE(calls[2].request.systemModal);
    EXPECT_EQ(calls[2].answer, MessageAnswer::No);
    EXPECT_TRUE(calls[3].isBeep);

    const std::vector<MessageRequest> boxes = c.recorder.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "One");
    EXPECT_EQ(boxes[1].caption, "Two");
    EXPECT_EQ(c.recorder.beepCount(), 2);
    EXPECT_TRUE(c.failures.isEmpty());
}

TEST(MessageRecorder, OkOnlyBoxesNeedNoScriptAndLeaveTheScriptAlone)
{
    CollectingRecorder c;
    c.recorder.script({MessageAnswer::Cancel});

    EXPECT_EQ(ShowMessage(Box(MessageButtons::Ok)), MessageAnswer::Ok);
    EXPECT_EQ(c.recorder.unusedAnswers(), 1u);
    EXPECT_EQ(ShowMessage(Box(MessageButtons::OkCancel)), MessageAnswer::Cancel);
    EXPECT_EQ(c.recorder.unusedAnswers(), 0u);
    EXPECT_TRUE(c.failures.isEmpty());
}

TEST(MessageRecorder, ScriptedAnswersAreUsedInOrderAcrossScriptCalls)
{
    CollectingRecorder c;
    c.recorder.script({MessageAnswer::Yes, MessageAnswer::Retry});
    c.recorder.script({MessageAnswer::Cancel});

    EXPECT_EQ(ShowMessage(Box(MessageButtons::YesNoCancel)), MessageAnswer::Yes);
    EXPECT_EQ(ShowMessage(Box(MessageButtons::RetryCancel)), MessageAnswer::Retry);
    EXPECT_EQ(ShowMessage(Box(MessageButtons::YesNoCancel)), MessageAnswer::Cancel);
    EXPECT_TRUE(c.failures.isEmpty());
}

TEST(MessageRecorder, UnscriptedChoiceReportsTheBoxAndDismissesIt)
{
    const struct {
        MessageButtons buttons;
        MessageAnswer dismissed;
        const char* buttonsName;
    } cases[] = {
        {MessageButtons::OkCancel, MessageAnswer::Cancel, "OkCancel"},
        {MessageButtons::YesNo, MessageAnswer::No, "YesNo"},
        {MessageButtons::YesNoCancel, MessageAnswer::Cancel, "YesNoCancel"},
        {MessageButtons::RetryCancel, MessageAnswer::Cancel, "RetryCancel"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.buttonsName);
        CollectingRecorder c;
        const MessageAnswer answer = ShowMessage(
            Box(each.buttons, "Save file first?", "Close File", MessageIcon::Exclamation));
        EXPECT_EQ(answer, each.dismissed);
        ASSERT_EQ(c.failures.size(), 1);
        const QString& what = c.failures.front();
        EXPECT_TRUE(what.contains("Save file first?")) << what.toStdString();
        EXPECT_TRUE(what.contains("Close File")) << what.toStdString();
        EXPECT_TRUE(what.contains("exclamation")) << what.toStdString();
        EXPECT_TRUE(what.contains(each.buttonsName)) << what.toStdString();
        ASSERT_EQ(c.recorder.calls().size(), 1u);
        EXPECT_EQ(c.recorder.calls().front().answer, each.dismissed);
    }
}

TEST(MessageRecorder, AnswerTheBoxDoesNotOfferIsAFailureAndIsUsedUp)
{
    CollectingRecorder c;
    c.recorder.script({MessageAnswer::Retry, MessageAnswer::Yes});

    EXPECT_EQ(ShowMessage(Box(MessageButtons::YesNo, "Overwrite?")), MessageAnswer::No);
    ASSERT_EQ(c.failures.size(), 1);
    EXPECT_TRUE(c.failures.front().contains("Retry")) << c.failures.front().toStdString();
    EXPECT_TRUE(c.failures.front().contains("Overwrite?")) << c.failures.front().toStdString();

    EXPECT_EQ(ShowMessage(Box(MessageButtons::YesNo)), MessageAnswer::Yes);
    EXPECT_EQ(c.failures.size(), 1);
}

TEST(MessageRecorder, NestedRecorderTakesOverAndHandsBackWhenItGoes)
{
    CollectingRecorder outer;
    {
        CollectingRecorder inner;
        Beep();
        EXPECT_EQ(inner.recorder.beepCount(), 1);
        EXPECT_EQ(outer.recorder.beepCount(), 0);
    }
    Beep();
    EXPECT_EQ(outer.recorder.beepCount(), 1);
}

}  // namespace
}  // namespace vexa
