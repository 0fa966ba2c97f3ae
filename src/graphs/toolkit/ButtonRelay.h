#pragma once

#include "graphs/toolkit/ChartDrawing.h"

#include <QObject>
#include <QPointer>

class QPushButton;

namespace vexa::toolkit {

/// Hands each click of a push button to its handler with the button's
/// chart. Lives as the button's child, so it goes with the button.
class ButtonRelay : public QObject {
    Q_OBJECT
public:
    ButtonRelay(QPushButton& button, ChartWindow& chart, ButtonHandler handler);

    void relayClick();

private:
    QPointer<ChartWindow> m_chart;
    ButtonHandler m_handler;
};

}  // namespace vexa::toolkit
