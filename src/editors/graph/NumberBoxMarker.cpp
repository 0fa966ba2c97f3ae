#include "NumberBoxMarker.h"

#include "platform/AnsiText.h"

#include <QLineEdit>

#include <cstdlib>

namespace vexa::editors {

namespace {

constexpr const char* kRedFrame = "QLineEdit { border: 2px solid red; }";

void Mark(QLineEdit& box)
{
    const std::string text = ToAnsi(box.text());
    const bool unreadable = IsUnreadableNumber(text.c_str());
    const QString note = unreadable ? QString::fromLatin1(kNotANumberText) : QString();
    box.setStyleSheet(unreadable ? QString::fromLatin1(kRedFrame) : QString());
    box.setToolTip(note);
    box.setAccessibleDescription(note);
}

}  // namespace

bool IsUnreadableNumber(const char* text)
{
    const char* start = text;
    while (*start == ' ' || *start == '\t')
        ++start;
    if (*start == '\0')
        return false;
    char* end = nullptr;
    std::strtod(start, &end);
    return end == start;
}

void MarkUnreadableNumbers(QLineEdit& box)
{
    QObject::connect(&box, &QLineEdit::textChanged, &box, [&box] { Mark(box); });
    Mark(box);
}

}  // namespace vexa::editors
