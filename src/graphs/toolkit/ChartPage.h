#pragma once

#include "graphs/toolkit/Toolkit.h"

#include <QPointer>
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
    WindowCharacteristic characteristic() const;
    /// Runs the page builder unless it has run.
    void build();
    bool isBuilt() const;
    // (the rest is the implementation's)

    /// A TopLevel page is a window of its own, a child of \p owner that goes
    /// with it; a Child page is a plain child widget of \p owner.
    ChartPage(const QString& name, QWidget* owner, const QString& title, PageBuilder builder,
              WindowCharacteristic characteristic, PageStyle style);

    /// Builds the page and every chart window on it that is not built yet.
    void buildAll();
    /// Places the chart windows for the page's current size.
    void layoutCharts();
    /// Places one chart window for the page's current size.
    void layoutChart(ChartWindow& chart);

    /// While true, the page is being rendered into a printer, a file or an
    /// image rather than painted on screen.
    void setRendering(bool rendering);
    bool isRendering() const;

    /// The page is going: reads as gone before its deferred deletion.
    void markClosing();
    bool isClosing() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void requestBuild();

    QString m_name;
    QPointer<QWidget> m_owner;
    PageBuilder m_builder;
    WindowCharacteristic m_characteristic = WindowCharacteristic::Proportional;
    bool m_built = false;
    bool m_building = false;
    bool m_closing = false;
    bool m_rendering = false;
};

}  // namespace vexa::toolkit
