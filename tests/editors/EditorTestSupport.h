#pragma once

#include "support/ModalDriver.h"
#include "support/TestSupport.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>

#include <QAbstractButton>
class QWidget;

namespace vexa::test {

/// A temporary folder with a working copy in it, and the message recorder
/// that answers the editors' questions.
class EditorTest : public ::testing::Test {
protected:
    /// Writes \p contents as the working copy \p name and gives its path.
    std::string writeWorkingCopy(const std::string& name, const std::string& contents);
    /// VEXATMP.TMP in the folder.
    std::string scratchPath() const;

    ScratchDir m_dir;
    ScriptedMessages m_messages;
};

/// The button of \p dialog whose text is \p text; the test fails without one.
QAbstractButton& ButtonOf(QWidget& dialog, const char* text);

/// The exact text, caption and icon of box \p index of \p messages.
struct ExpectedBox {
    QString text;
    QString caption;
    MessageIcon icon;
};
void ExpectBoxes(const MessageRecorder& messages, const std::vector<ExpectedBox>& expected);

}  // namespace vexa::test
