#include "EditorTestSupport.h"

#include "document/DocumentPaths.h"

#include <QAbstractButton>
#include <QWidget>

namespace vexa::test {

std::string EditorTest::writeWorkingCopy(const std::string& name, const std::string& contents)
{
    const std::string path = m_dir.path(name);
    WriteFileBytes(path, contents);
    return path;
}

std::string EditorTest::scratchPath() const
{
    return m_dir.path(kScratchCopyName);
}

QAbstractButton& ButtonOf(QWidget& dialog, const char* text)
{
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(text));
    if (button == nullptr)
        throw std::runtime_error(std::string("no button ") + text);
    return *button;
}

void ExpectBoxes(const MessageRecorder& messages, const std::vector<ExpectedBox>& expected)
{
    const std::vector<MessageRequest> boxes = messages.boxes();
    ASSERT_EQ(boxes.size(), expected.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].text, expected[i].text) << "box " << i;
        EXPECT_EQ(boxes[i].caption, expected[i].caption) << "box " << i;
        EXPECT_EQ(boxes[i].icon, expected[i].icon) << "box " << i;
    }
}

}  // namespace vexa::test
