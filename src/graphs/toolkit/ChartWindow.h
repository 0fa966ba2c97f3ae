#pragma once

#include "graphs/toolkit/Toolkit.h"

#include <QWidget>

namespace vexa::toolkit {

class ChartPage;

/// A drawing area of a page with its own scale and elements. Its chart
/// builder runs once, before the first paint; the elements it creates paint
/// on every paint after.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartPage& page() const;
    /// The window that owns the chart's page: how a button handler finds its
    /// graph.
    QWidget* pageOwner() const;
    /// Runs the chart builder unless it has run.
    void build();
    bool isReady() const;
    // (the rest is the implementation's)
};

}  // namespace vexa::toolkit
