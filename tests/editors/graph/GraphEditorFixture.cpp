#include "GraphEditorFixture.h"

#include "app/help/HelpWindow.h"
#include "document/ProfileStore.h"
#include "support/Waits.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace vexa::test {

namespace {
constexpr int kPollIntervalMs = 10;
}  // namespace

const char* const kMeasurements = "[Alpha]\r\nL=0.0\r\nH=100.0\r\n[beta]\r\nL=-50\r\nH=50\r\n"
                                  "[Gamma]\r\nL=0\r\nH=10\r\n[Delta]\r\nL=0\r\nH=1\r\n";

void GraphEditorTest::SetUp()
{
    m_display = m_dir.path("VEXATMP.TMP");
    m_measurementFile = m_dir.path("VEXAMVX.TMP");
    WriteFileBytes(m_measurementFile, kMeasurements);
}

void GraphEditorTest::TearDown()
{
    m_dialog.reset();
    app::QuitHelp();
}

void GraphEditorTest::writeDisplay(const std::string& contents, const QStringList& titles, int current)
{
    WriteFileBytes(m_display, contents);
    profile::Flush(m_display);
    m_owner.clear();
    m_owner.addItems(titles);
    m_owner.setCurrentRow(current);
}

GraphEditorDialog& GraphEditorTest::open()
{
    m_dialog = std::make_unique<GraphEditorDialog>(m_owner, m_display, m_measurementFile);
    m_dialog->show();
    return *m_dialog;
}

int GraphEditorTest::press(const char* button)
{
    ClickButton(*m_dialog, button);
    return m_dialog->isVisible() ? -1 : m_dialog->result();
}

std::string GraphEditorTest::read(const std::string& section, const std::string& key) const
{
    profile::Flush(m_display);
    return profile::ReadString(section, key, "<absent>", m_display);
}

void OnNextModalDialog(const QString& caption, std::function<void(QDialog&)> act)
{
    auto deadline = std::make_shared<QDeadlineTimer>(kWaitTimeoutMs);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [caption, act = std::move(act), deadline, weak = std::weak_ptr(poll)] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            dialog != nullptr && dialog->isVisible() && dialog->windowTitle() == caption) {
            act(*dialog);
            return;
        }
        if (deadline->hasExpired()) {
            ADD_FAILURE() << "no dialog " << caption.toStdString() << " came up";
            return;
        }
        if (auto again = weak.lock())
            QTimer::singleShot(kPollIntervalMs, [again] { (*again)(); });
    };
    // Each scheduled call holds the poll until it has acted or given up.
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

void ClickButton(const QObject& parent, const char* name)
{
    auto* button = parent.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

}  // namespace vexa::test
