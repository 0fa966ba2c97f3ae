#pragma once

#include "editors/graph/GraphEditorDialog.h"
#include "support/TestSupport.h"

#include <QListWidget>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

class QAbstractButton;
class QDialog;

namespace vexa::test {

using editors::GraphEditorDialog;

/// Measurements "Alpha" (0 … 100), "beta" (-50 … 50), "Gamma" and "Delta".
extern const char* const kMeasurements;

/// A graph list owner, a display file and a measurement file in a scratch
/// folder, and the message recorder, for driving "Edit Graph".
class GraphEditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Writes the display file and fills the owner with \p titles, the
    /// entry \p current selected.
    void writeDisplay(const std::string& contents, const QStringList& titles, int current = 0);
    /// Opens the dialog, shown, on the owner's current entry.
    GraphEditorDialog& open();
    /// Ends the open dialog by pressing \p button; its result.
    int press(const char* button);
    std::string display() const { return ReadFileBytes(m_display); }
    std::string read(const std::string& section, const std::string& key) const;

    ScriptedMessages m_messages;
    ScratchDir m_dir;
    std::string m_display;
    std::string m_measurementFile;
    QListWidget m_owner;
    std::unique_ptr<GraphEditorDialog> m_dialog;
};

/// The named child of \p parent, which must exist.
template <typename T>
T* Child(const QObject& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

/// Runs \p act on the next modal dialog captioned \p caption once it is up
/// (from inside its own event loop), waiting kWaitTimeoutMs at most for it.
void OnNextModalDialog(const QString& caption, std::function<void(QDialog&)> act);

/// Clicks the named button of \p parent.
void ClickButton(const QObject& parent, const char* name);

}  // namespace vexa::test
