#pragma once

#include <QStatusBar>
#include <QString>

#include <array>

class QLabel;

namespace vexa::app {

/// The frame's status bar with its three parts: the document, the connection
/// and the time of the last sample.
///
/// The parts start with equal widths. Once a text no longer fits its part,
/// the first two parts are made as wide as their texts and the last takes
/// the rest, and they stay laid out that way.
class FrameStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPartCount = 3;
    enum Part : int { kDocumentPart = 0, kConnectionPart = 1, kTimePart = 2 };
    /// The status bar's object name, its identifier as a child of the frame.
    static constexpr const char* kObjectName = "129";

    explicit FrameStatusBar(QWidget* parent);

    void setPartText(int part, const QString& text);
    QString partText(int part) const;
    /// The width each part has now.
    int partWidth(int part) const;
    bool isFittedToText() const { return m_fitted; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    std::array<QLabel*, kPartCount> m_parts{};
    /// Each part's text width with its padding, measured when set.
    std::array<int, kPartCount> m_textWidths{};
    bool m_fitted = false;
};

}  // namespace vexa::app
