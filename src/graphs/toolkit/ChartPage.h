#pragma once

#include "graphs/toolkit/Toolkit.h"

#include <QString>
#include <QWidget>

namespace vexa::toolkit {

/// A page: the widget that hosts the chart windows of one graph (or its
/// history). Built by its page builder once, before it is first shown.
class ChartPage : public QWidget {
    Q_OBJECT
public:
    const QString& name() const;
    /// The window the page was created for (the graph window).
    QWidget* ownerWindow() const;
    int characteristic() const;
    /// Runs the page builder unless it has run.
    void build();
    bool isBuilt() const;
    // (the rest is the implementation's)
};

}  // namespace vexa::toolkit
