#include "NumberBox.h"

#include "platform/AnsiText.h"

#include <QLineEdit>

#include <cstdlib>

namespace vexa::editors {

namespace {

constexpr const char* kFlaggedStyle = "QLineEdit { border: 2px solid red; }";

}  // namespace

bool ReadsAsNumber(const QString& text)
{
    // strtod is the readers' own conversion: a text reads as a number when it
    // takes at least one character from it.
    const std::string bytes = ToAnsi(text);
    const char* begin = bytes.c_str();
    char* end = nullptr;
    std::strtod(begin, &end);
    return end != begin;
}

NumberBox* NumberBox::Watch(QLineEdit& box, EmptyText empty)
{
    return new NumberBox(box, empty);
}

NumberBox::NumberBox(QLineEdit& box, EmptyText empty) : QObject(&box), m_box(box), m_empty(empty)
{
    connect(&box, &QLineEdit::textChanged, this, &NumberBox::check);
    check();
}

void NumberBox::check()
{
    const QString text = m_box.text();
    const bool empty = text.trimmed().isEmpty();
    const bool flagged = empty ? m_empty == EmptyText::Flagged : !ReadsAsNumber(text);
    if (flagged == m_flagged)
        return;
    m_flagged = flagged;
    const QString warning = flagged ? QString::fromLatin1(kNotANumberText) : QString();
    m_box.setStyleSheet(flagged ? QString::fromLatin1(kFlaggedStyle) : QString());
    m_box.setToolTip(warning);
    m_box.setAccessibleDescription(warning);
}

}  // namespace vexa::editors
