#pragma once

#include "graphs/toolkit/PageLook.h"

#include <QDialog>
#include <QPointer>

#include <utility>
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
/// of its window. Apply and OK give the charts the look shown; Cancel gives
/// them back the look they had when the dialog opened. The dialog goes when
/// its page does.
class GraphAttributesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Graph Attributes";

    GraphAttributesDialog(QWidget* owner, toolkit::ChartPage& page);

    /// The look the controls show.
    toolkit::ChartLook shownLook() const;
    /// Gives every chart of the page the look shown.
    void apply();

    void accept() override;
    void reject() override;

private:
    QPushButton* addFontButton(const QString& name, const QFont& font);

    QPointer<toolkit::ChartPage> m_page;
    std::vector<std::pair<QPointer<toolkit::ChartWindow>, toolkit::ChartLook>> m_original;
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
