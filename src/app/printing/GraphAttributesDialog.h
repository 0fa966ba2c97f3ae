#pragma once

#include "graphs/toolkit/PageLook.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace vexa::toolkit {
class ChartPage;
class ChartWindow;
}  // namespace vexa::toolkit

namespace vexa::app::printing {

/// "Graph Attributes": the look of an open page (window and plot
/// background, grid, trace width, title, label and grid fonts) for the life
/// of its window. Apply and OK give the charts what was changed in the
/// dialog; Cancel gives them back exactly the look they had when it opened.
/// The dialog goes when its page does.
class GraphAttributesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Graph Attributes";

    GraphAttributesDialog(QWidget* owner, toolkit::ChartPage& page);

    /// The look the controls show.
    toolkit::ChartLook shownLook() const;
    /// Gives every chart of the page what was changed in the dialog.
    void apply();

    void accept() override;
    void reject() override;

private:
    QPushButton* addFontButton(const QString& name, const QFont& font);

    QPointer<toolkit::ChartPage> m_page;
    struct ChartBefore {
        QPointer<toolkit::ChartWindow> chart;
        toolkit::ChartLook look;
        toolkit::SavedChartLook saved;
    };
    std::vector<ChartBefore> m_before;
    toolkit::ChartLook m_first;
    QComboBox* m_windowBackground = nullptr;
    QComboBox* m_plotBackground = nullptr;
    QCheckBox* m_grid = nullptr;
    QSpinBox* m_traceWidth = nullptr;
    QPushButton* m_titleFont = nullptr;
    QPushButton* m_labelFont = nullptr;
    QPushButton* m_gridFont = nullptr;
};

/// Runs "Graph Attributes" over \p owner for \p page; true when it ended
/// with OK.
bool EditGraphAttributes(QWidget* owner, toolkit::ChartPage& page);

}  // namespace vexa::app::printing
