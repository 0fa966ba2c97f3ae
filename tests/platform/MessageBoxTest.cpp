#include "platform/MessageHandler.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vexa {
namespace {

/// Runs \p act on the message box once it is on screen. The box appears
/// inside ShowMessage's own event loop, so the search is queued and repeated
/// each turn of that loop until the box is there.
void WhenBoxShown(std::function<void(QMessageBox&)> act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) {
                act(*box);
                return;
            }
        }
        WhenBoxShown(act);
    });
}

/// What the real handler put on the box.
struct SeenBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget* parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
};

enum class Action { Click, Escape, Close };

/// Shows \p request through the real handler, records the box and ends it
/// with \p action (clicking \p button for Action::Click).
MessageAnswer ShowAndEnd(const MessageRequest& request, Action action,
                         QMessageBox::StandardButton button, SeenBox& seen)
{
    WhenBoxShown([&](QMessageBox& box) {
        seen.title = box.windowTitle();
        seen.text = box.text();
        seen.format = box.textFormat();
        seen.icon = box.icon();
        seen.buttons = box.standardButtons();
        seen.defaultButton = box.standardButton(box.defaultButton());
        seen.parent = box.parentWidget();
        seen.modality = box.windowModality();
        switch (action) {
        case Action::Click:
            box.button(button)->click();
            break;
        case Action::Escape:
            QTest::keyClick(&box, Qt::Key_Escape);
            break;
        case Action::Close:
            box.close();
            break;
        }
    });
    return ShowMessage(request);
}

class RealMessageBox : public ::testing::Test {
protected:
    // The real handler serves only while no recorder is installed.
    void SetUp() override { m_saved = SetMessageHandler(nullptr); }
    void TearDown() override { SetMessageHandler(m_saved); }

private:
    MessageHandler* m_saved = nullptr;
};

TEST_F(RealMessageBox, MapsTheChosenButtonBackToTheAnswer)
{
    using B = QMessageBox;
    const struct {
        MessageButtons buttons;
        Action action;
        QMessageBox::StandardButton click;
        MessageAnswer expected;
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton defaultButton;
    } cases[] = {
        {MessageButtons::Ok, Action::Click, B::Ok, MessageAnswer::Ok, B::Ok, B::Ok},
        {MessageButtons::Ok, Action::Escape, B::NoButton, MessageAnswer::Ok, B::Ok, B::Ok},
        {MessageButtons::OkCancel, Action::Click, B::Ok, MessageAnswer::Ok, B::Ok | B::Cancel, B::Ok},
        {MessageButtons::OkCancel, Action::Escape, B::NoButton, MessageAnswer::Cancel,
         B::Ok | B::Cancel, B::Ok},
        {MessageButtons::YesNo, Action::Click, B::No, MessageAnswer::No, B::Yes | B::No, B::Yes},
        {MessageButtons::YesNo, Action::Close, B::NoButton, MessageAnswer::No, B::Yes | B::No,
         B::Yes},
        {MessageButtons::YesNoCancel, Action::Click, B::Yes, MessageAnswer::Yes,
         B::Yes | B::No | B::Cancel, B::Yes},
        {MessageButtons::YesNoCancel, Action::Close, B::NoButton, MessageAnswer::Cancel,
         B::Yes | B::No | B::Cancel, B::Yes},
        {MessageButtons::RetryCancel, Action::Click, B::Retry, MessageAnswer::Retry,
         B::Retry | B::Cancel, B::Retry},
        {MessageButtons::RetryCancel, Action::Escape, B::NoButton, MessageAnswer::Cancel,
         B::Retry | B::Cancel, B::Retry},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(testing::Message() << "buttons " << static_cast<int>(each.buttons)
                                        << " action " << static_cast<int>(each.action));
        MessageRequest request;
        request.buttons = each.buttons;
        SeenBox seen;
        EXPECT_EQ(ShowAndEnd(request, each.action, each.click, seen), each.expected);
        EXPECT_EQ(seen.buttons, each.shown);
        EXPECT_EQ(seen.defaultButton, each.defaultButton);
    }
}

TEST_F(RealMessageBox, ShowsCaptionAndTextAsGivenOverItsOwner)
{
    QWidget owner;
    MessageRequest request;
    request.owner = &owner;
    request.text = QStringLiteral("File <b>a&b.vxd</b>\n\nOverwrite?");
    request.caption = QStringLiteral("VEXA <Display>");

    SeenBox seen;
    ShowAndEnd(request, Action::Escape, QMessageBox::NoButton, seen);
    EXPECT_EQ(seen.title, request.caption);
    EXPECT_EQ(seen.text, request.text);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.parent, &owner);
    EXPECT_EQ(seen.modality, Qt::WindowModal);

    request.systemModal = true;
    ShowAndEnd(request, Action::Escape, QMessageBox::NoButton, seen);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
}

TEST_F(RealMessageBox, ShowsTheRequestedIcon)
{
    const struct {
        MessageIcon icon;
        QMessageBox::Icon shown;
    } cases[] = {
        {MessageIcon::None, QMessageBox::NoIcon},
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::Exclamation, QMessageBox::Warning},
        {MessageIcon::Question, QMessageBox::Question},
        {MessageIcon::Stop, QMessageBox::Critical},
    };
    for (const auto& each : cases) {
        MessageRequest request;
        request.icon = each.icon;
        SeenBox seen;
        ShowAndEnd(request, Action::Click, QMessageBox::Ok, seen);
        EXPECT_EQ(seen.icon, each.shown) << MessageIconName(each.icon);
    }
}

}  // namespace
}  // namespace vexa
