#include "FrameStatusBar.h"

#include <QLabel>
#include <QStyle>

#include <algorithm>

namespace vexa::app {

namespace {

/// Room a label needs beside its text: its frame and a little air.
constexpr int kTextPadding = 12;

}  // namespace

FrameStatusBar::FrameStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QString::fromLatin1(kObjectName));
    setSizeGripEnabled(false);
    for (int part = 0; part < kPartCount; ++part) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("part%1").arg(part));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setMinimumWidth(0);
        m_parts.at(static_cast<std::size_t>(part)) = label;
        m_textWidths.at(static_cast<std::size_t>(part)) = kTextPadding;
        addWidget(label, part + 1 == kPartCount ? 1 : 0);
    }
    layOut();
}

void FrameStatusBar::setPartText(int part, const QString& text)
{
    if (part < 0 || part >= kPartCount)
        return;
    QLabel* label = m_parts.at(static_cast<std::size_t>(part));
    if (label->text() == text)
        return;
    label->setText(text);
    const auto slot = static_cast<std::size_t>(part);
    m_textWidths.at(slot) = label->fontMetrics().horizontalAdvance(text) + kTextPadding;
    // The sample time changes with every sample; while the parts keep
    // their widths nothing needs laying out again.
    const bool fitting = !m_fitted && m_textWidths.at(slot) > label->width();
    if (fitting)
        m_fitted = true;
    if (fitting || (m_fitted && part + 1 < kPartCount))
        layOut();
}

QString FrameStatusBar::partText(int part) const
{
    if (part < 0 || part >= kPartCount)
        return {};
    return m_parts.at(static_cast<std::size_t>(part))->text();
}

int FrameStatusBar::partWidth(int part) const
{
    if (part < 0 || part >= kPartCount)
        return 0;
    return m_parts.at(static_cast<std::size_t>(part))->width();
}

void FrameStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    layOut();
}

void FrameStatusBar::layOut()
{
    // The width a scroll bar takes is kept free at the right, where a size
    // grip would sit.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int available = std::max(0, width() - scrollBar);
    if (!m_fitted) {
        const int each = available / kPartCount;
        for (QLabel* label : m_parts)
            label->setFixedWidth(each);
        return;
    }
    int used = 0;
    for (int part = 0; part + 1 < kPartCount; ++part) {
        const int wanted = m_textWidths.at(static_cast<std::size_t>(part));
        m_parts.at(static_cast<std::size_t>(part))->setFixedWidth(wanted);
        used += wanted;
    }
    m_parts.back()->setFixedWidth(std::max(0, available - used));
}

}  // namespace vexa::app
