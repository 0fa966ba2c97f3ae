#include "server/dialogs/InputDialog.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <optional>

namespace vexa::server {
namespace {

/// A dialog the test forgot to end is cancelled after this long, so that a
/// failing case fails instead of hanging.
constexpr int kSafetyCancelMs = 3000;

const QString kNumberCaption = QStringLiteral("ERROR: Illegal Value Entered");

/// Runs \p act on the input dialog once it is up: the dialog appears inside
/// exec()'s own event loop, so the search is queued and repeated each turn of
/// that loop until it is there.
void WhenDialogUp(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->objectName() != QStringLiteral("InputDialog")) {
            WhenDialogUp(act);
            return;
        }
        QTimer::singleShot(kSafetyCancelMs, dialog, [dialog] {
            ADD_FAILURE() << "the dialog was left open";
            dialog->reject();
        });
        act(*dialog);
    });
}

QLineEdit* EditOf(QDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("101"));
}

QPushButton* ButtonOf(QDialog& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

/// Replaces the edit's text by typing \p entry, then presses OK.
void TypeAndConfirm(QDialog& dialog, const QString& entry)
{
    QLineEdit* edit = EditOf(dialog);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, entry);
    QTest::mouseClick(ButtonOf(dialog, "1"), Qt::LeftButton);
}

void Cancel(QDialog& dialog)
{
    QTest::mouseClick(ButtonOf(dialog, "2"), Qt::LeftButton);
}

class InputDialogTest : public ::testing::Test {
protected:
    void SetUp() override { InputDialog::forgetPositions(); }
    void TearDown() override { InputDialog::forgetPositions(); }

    /// The boxes shown, asserting that there was exactly one, with \p text and \p caption.
    void ExpectOneBox(const QString& text, const QString& caption, MessageIcon icon)
    {
        const auto boxes = m_messages.boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, caption);
        EXPECT_EQ(boxes[0].icon, icon);
        EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    }

    test::ScriptedMessages m_messages;
};

TEST_F(InputDialogTest, ThePortEntryAcceptsValidNumbersAndStaysOpenForInvalidOnes)
{
    const struct {
        const char* entry;
        std::optional<qint32> value;  ///< nullopt: refused with \c message, then cancelled
        const char* message;
    } cases[] = {
        {" 10 00 ", 1000, nullptr},
        {"0", 0, nullptr},
        {"-2147483648", -2147483647 - 1, nullptr},
        {"12a", std::nullopt, "Value entered is not a valid integer. Please re-enter."},
        {"", std::nullopt, "Value entered is not a valid integer. Please re-enter."},
        {"3000000000", std::nullopt,
         "Integer number out of range. You must enter a number between -2147483648 and 2147483647"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.entry);
        m_messages.clear();
        bool stayedOpen = false;
        WhenDialogUp([&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enter New Port Assignment"));
            EXPECT_EQ(EditOf(dialog)->text(), QStringLiteral("1000"));
            TypeAndConfirm(dialog, QString::fromLatin1(each.entry));
            if (dialog.isVisible()) {
                stayedOpen = true;
                Cancel(dialog);
            }
        });
        const std::optional<qint32> result = AskInteger(nullptr, QStringLiteral("Enter New Port Assignment"), 1000);
        EXPECT_EQ(result, each.value);
        if (each.value) {
            EXPECT_FALSE(stayedOpen);
            EXPECT_TRUE(m_messages.calls().empty());
        } else {
            EXPECT_TRUE(stayedOpen);
            ExpectOneBox(QString::fromLatin1(each.message), kNumberCaption, MessageIcon::Information);
        }
    }
}

TEST_F(InputDialogTest, ARefusedEntryCanBeCorrected)
{
    WhenDialogUp([](QDialog& dialog) {
        TypeAndConfirm(dialog, QStringLiteral("5-"));
        ASSERT_TRUE(dialog.isVisible());
        TypeAndConfirm(dialog, QStringLiteral("-5"));
    });
    EXPECT_EQ(AskInteger(nullptr, QStringLiteral("Count"), 1), -5);
    EXPECT_EQ(m_messages.boxes().size(), 1u);
}

TEST_F(InputDialogTest, CancelAndEscapeGiveNothing)
{
    WhenDialogUp([](QDialog& dialog) {
        EditOf(dialog)->setText(QStringLiteral("77"));
        Cancel(dialog);
    });
    EXPECT_EQ(AskInteger(nullptr, QStringLiteral("Count"), 1), std::nullopt);

    WhenDialogUp([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(AskText(nullptr, QStringLiteral("Name"), QStringLiteral("x"), 10, false), std::nullopt);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(InputDialogTest, LaysOutItsControlsByKind)
{
    const QString longPrompt = QStringLiteral("A prompt long enough to need more than the smallest width there is");
    const struct {
        const char* name;
        std::function<void()> ask;
        QString caption;
        int entryLeft;
        bool lockOffered;
    } cases[] = {
        {"integer", [] { AskInteger(nullptr, QString(), 3); }, QStringLiteral("Enter Value"), 60, false},
        {"float", [] { AskFloatingPoint(nullptr, QStringLiteral("Gain"), 2.5, nullptr, true); },
         QStringLiteral("Gain"), 60, true},
        {"text", [&] { AskText(nullptr, longPrompt, QString(), 8, false); }, longPrompt, 20, false},
        {"choice", [] { AskChoice(nullptr, QStringLiteral("Pick"), {QStringLiteral("a")}, 0); },
         QStringLiteral("Pick"), 20, false},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        WhenDialogUp([&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), each.caption);
            const QFontMetrics metrics(dialog.font());
            EXPECT_GE(dialog.width(), 250);
            EXPECT_GE(dialog.width(), metrics.horizontalAdvance(each.caption) + metrics.maxWidth() + 10);

            auto* entry = dialog.findChild<QWidget*>(QStringLiteral("101"));
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->x(), each.entryLeft);
            EXPECT_EQ(entry->x() + entry->width(), dialog.width() - each.entryLeft);

            QPushButton* ok = ButtonOf(dialog, "1");
            QPushButton* cancel = ButtonOf(dialog, "2");
            ASSERT_NE(ok, nullptr);
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(ok->text(), QStringLiteral("OK"));
            EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
            EXPECT_TRUE(ok->isDefault());
            EXPECT_EQ(ok->size(), QSize(60, 24));
            EXPECT_EQ(cancel->size(), QSize(60, 24));
            EXPECT_EQ(ok->y(), cancel->y());
            EXPECT_GT(ok->y(), entry->geometry().bottom());
            EXPECT_LT(ok->geometry().right(), cancel->x());
            EXPECT_LE(std::abs(ok->x() + cancel->geometry().right() + 1 - dialog.width()), 1);

            auto* lock = dialog.findChild<QCheckBox*>(QStringLiteral("102"));
            EXPECT_EQ(lock != nullptr, each.lockOffered);
            if (lock != nullptr) {
                EXPECT_EQ(lock->text(), QStringLiteral("Lock this window's position on screen"));
                EXPECT_GT(lock->y(), ok->geometry().bottom());
                EXPECT_LE(lock->geometry().bottom(), dialog.height());
                EXPECT_GE(lock->width(), lock->sizeHint().width());  // its text is not cut off
            }
            Cancel(dialog);
        });
        each.ask();
    }
}

TEST_F(InputDialogTest, TheEditsStartWithTheirValueAndLimit)
{
    const struct {
        const char* name;
        std::function<void()> ask;
        const char* text;
        int maxLength;
    } cases[] = {
        {"integer", [] { AskInteger(nullptr, QString(), -17); }, "-17", 50},
        {"float", [] { AskFloatingPoint(nullptr, QString(), 2.5); }, "2.500000", 32767},
        {"text", [] { AskText(nullptr, QString(), QStringLiteral("abc"), 8, true); }, "abc", 8},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        WhenDialogUp([&](QDialog& dialog) {
            QLineEdit* edit = EditOf(dialog);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->text(), QString::fromLatin1(each.text));
            EXPECT_EQ(edit->maxLength(), each.maxLength);
            Cancel(dialog);
        });
        each.ask();
    }
}

TEST_F(InputDialogTest, FloatingPointEntries)
{
    WhenDialogUp([](QDialog& dialog) { TypeAndConfirm(dialog, QStringLiteral("1.5e3")); });
    EXPECT_EQ(AskFloatingPoint(nullptr, QStringLiteral("Gain"), 0.0), 1500.0);

    WhenDialogUp([](QDialog& dialog) {
        TypeAndConfirm(dialog, QStringLiteral("1e2e3"));
        EXPECT_TRUE(dialog.isVisible());
        Cancel(dialog);
    });
    EXPECT_EQ(AskFloatingPoint(nullptr, QStringLiteral("Gain"), 0.0), std::nullopt);
    ExpectOneBox(QStringLiteral("Value entered is not a valid floating point number. Please re-enter."),
                 kNumberCaption, MessageIcon::Information);
}

TEST_F(InputDialogTest, ARequiredTextRefusesBlanksAndKeepsWhatWasTyped)
{
    WhenDialogUp([](QDialog& dialog) {
        TypeAndConfirm(dialog, QStringLiteral("   "));
        EXPECT_TRUE(dialog.isVisible());
        TypeAndConfirm(dialog, QStringLiteral(" two words"));
    });
    EXPECT_EQ(AskText(nullptr, QStringLiteral("Name"), QString(), 20, true), QStringLiteral(" two words"));
    ExpectOneBox(QStringLiteral("You must enter a string. Please re-enter."), kNumberCaption,
                 MessageIcon::Information);
}

TEST_F(InputDialogTest, BinaryEntriesArePaddedOrRefusedWithAWarning)
{
    WhenDialogUp([](QDialog& dialog) { TypeAndConfirm(dialog, QStringLiteral("1 01")); });
    EXPECT_EQ(AskBinaryText(nullptr, QStringLiteral("Mask"), QString(), 5), QStringLiteral("00101"));

    WhenDialogUp([](QDialog& dialog) {
        TypeAndConfirm(dialog, QStringLiteral("102"));
        EXPECT_TRUE(dialog.isVisible());
        Cancel(dialog);
    });
    EXPECT_EQ(AskBinaryText(nullptr, QStringLiteral("Mask"), QString(), 5), std::nullopt);
    ExpectOneBox(QStringLiteral("You must enter a binary string of 0's or 1's. This string must be no more "
                                "than 5 characters long."),
                 QStringLiteral("Illegal Value Entered"), MessageIcon::Exclamation);
}

TEST_F(InputDialogTest, AChoiceReturnsTheChosenIndex)
{
    const QStringList items{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
    const struct {
        int initial;
        int shownFirst;
        int chosen;
    } cases[] = {{1, 1, 2}, {7, 0, 0}, {-1, 0, 1}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.initial);
        WhenDialogUp([&](QDialog& dialog) {
            auto* list = dialog.findChild<QComboBox*>(QStringLiteral("101"));
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->count(), 3);
            EXPECT_EQ(list->currentIndex(), each.shownFirst);
            list->setCurrentIndex(each.chosen);
            QTest::mouseClick(ButtonOf(dialog, "1"), Qt::LeftButton);
        });
        EXPECT_EQ(AskChoice(nullptr, QStringLiteral("Colour"), items, each.initial), each.chosen);
    }
    // Nothing to choose from: no dialog at all.
    EXPECT_EQ(AskChoice(nullptr, QStringLiteral("Colour"), {}, 0), std::nullopt);
}

TEST_F(InputDialogTest, OpensCentredOnTheScreenOrOverTheGivenControl)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QPoint centre;
    WhenDialogUp([&](QDialog& dialog) {
        centre = dialog.frameGeometry().center();
        Cancel(dialog);
    });
    AskInteger(nullptr, QStringLiteral("Count"), 1);
    EXPECT_LE(std::abs(centre.x() - screen.center().x()), 20);
    EXPECT_LE(std::abs(centre.y() - screen.center().y()), 20);

    QWidget owner;
    owner.setGeometry(screen.left() + 100, screen.top() + 100, 400, 300);
    auto* control = new QWidget(&owner);
    control->setGeometry(300, 200, 80, 20);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QPoint controlCentre = control->mapToGlobal(control->rect().center());
    WhenDialogUp([&](QDialog& dialog) {
        centre = dialog.frameGeometry().center();
        EXPECT_EQ(dialog.parentWidget(), &owner);
        Cancel(dialog);
    });
    AskInteger(&owner, QStringLiteral("Count"), 1, control);
    EXPECT_LE(std::abs(centre.x() - controlCentre.x()), 20);
    EXPECT_LE(std::abs(centre.y() - controlCentre.y()), 20);
}

TEST_F(InputDialogTest, OverAControlAtTheScreensEdgeItIsKeptTenPixelsInside)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(screen.left(), screen.top(), 200, 100);
    auto* control = new QWidget(&owner);
    control->setGeometry(0, 0, 10, 10);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QPoint topLeft;
    WhenDialogUp([&](QDialog& dialog) {
        topLeft = dialog.pos();
        Cancel(dialog);
    });
    AskText(&owner, QStringLiteral("Name"), QString(), 10, false, control);
    EXPECT_EQ(topLeft, screen.topLeft() + QPoint(10, 10));
}

TEST_F(InputDialogTest, ALockedDialogReopensWhereItWasLeftAndOnScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint placed = screen.topLeft() + QPoint(37, 41);
    auto leaveAt = [](const QPoint& where, bool lock) {
        WhenDialogUp([where, lock](QDialog& dialog) {
            auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("102"));
            ASSERT_NE(box, nullptr);
            box->setChecked(lock);
            dialog.move(where);
            Cancel(dialog);
        });
    };
    auto reopen = [](QPoint& at, bool& locked) {
        WhenDialogUp([&at, &locked](QDialog& dialog) {
            at = dialog.pos();
            auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("102"));
            locked = box != nullptr && box->isChecked();
            Cancel(dialog);
        });
    };
    QPoint at;
    bool locked = false;

    leaveAt(placed, true);
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    reopen(at, locked);
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    EXPECT_TRUE(locked);
    EXPECT_EQ(at, placed);

    // Each kind remembers its own place: a text dialog still opens centred.
    reopen(at, locked);
    AskText(nullptr, QStringLiteral("Name"), QString(), 10, false, nullptr, true);
    EXPECT_FALSE(locked);
    EXPECT_NE(at, placed);

    // Left beyond the screen's corner, it comes back ten pixels inside.
    QSize size;
    WhenDialogUp([&size](QDialog& dialog) {
        size = dialog.frameGeometry().size();
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("102"));
        box->setChecked(true);
        dialog.move(dialog.screen()->availableGeometry().bottomRight() + QPoint(500, 500));
        Cancel(dialog);
    });
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    reopen(at, locked);
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    EXPECT_TRUE(locked);
    EXPECT_LE(at.x() + size.width() - 1, screen.right() - 10);
    EXPECT_LE(at.y() + size.height() - 1, screen.bottom() - 10);
    EXPECT_GE(at.x(), screen.left() + 10);

    // Unlocked, it opens centred again.
    leaveAt(placed, false);
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    reopen(at, locked);
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    EXPECT_FALSE(locked);
    EXPECT_NE(at, placed);

    // Without the box on offer, a remembered lock does not apply.
    leaveAt(placed, true);
    AskInteger(nullptr, QStringLiteral("Count"), 1, nullptr, true);
    reopen(at, locked);
    AskInteger(nullptr, QStringLiteral("Count"), 1);
    EXPECT_NE(at, placed);
}

}  // namespace
}  // namespace vexa::server
