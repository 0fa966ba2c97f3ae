#include "GraphAttributesDialog.h"

#include "document/DisplayFormat.h"
#include "graphs/toolkit/ChartPage.h"
#include "graphs/toolkit/ChartWindow.h"
#include "platform/DialogPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

namespace vexa::app::printing {

namespace {

constexpr int kMaxTraceWidth = 10;
constexpr int kSwatchSide = 12;
/// The plot colour of a chart drawn in a colour outside the palette.
constexpr const char* kCustomColourText = "(as it is)";
constexpr const char* kFontProperty = "chartFont";

QComboBox* PaletteBox(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (int index = 0; index < kColourCount; ++index) {
        QPixmap swatch(kSwatchSide, kSwatchSide);
        swatch.fill(toolkit::PaletteColour(index));
        box->addItem(QIcon(swatch), QString::fromLatin1(kColourNames[static_cast<std::size_t>(index)]),
                     toolkit::PaletteColour(index));
    }
    return box;
}

QString FontText(const QFont& font)
{
    return QStringLiteral("%1, %2 pt").arg(font.family()).arg(font.pointSize());
}

QFont FontOf(const QPushButton* button)
{
    return button->property(kFontProperty).value<QFont>();
}

}  // namespace

GraphAttributesDialog::GraphAttributesDialog(QWidget* owner, toolkit::ChartPage& page) : QDialog(owner), m_page(&page)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    page.buildAll();
    for (toolkit::ChartWindow* chart : page.findChildren<toolkit::ChartWindow*>(Qt::FindDirectChildrenOnly))
        m_before.push_back({chart, toolkit::ReadChartLook(*chart), toolkit::SaveChartLook(*chart)});
    if (!m_before.empty())
        m_first = m_before.front().look;
    connect(&page, &QObject::destroyed, this, &GraphAttributesDialog::reject);

    auto* form = new QFormLayout(this);
    m_windowBackground = PaletteBox(this, QStringLiteral("WindowBackground"));
    m_windowBackground->setCurrentIndex(m_first.windowBackground);
    form->addRow(QStringLiteral("&Window background:"), m_windowBackground);

    m_plotBackground = PaletteBox(this, QStringLiteral("PlotBackground"));
    int plotIndex = m_plotBackground->findData(m_first.plotBackground);
    if (plotIndex < 0) {
        m_plotBackground->addItem(QString::fromLatin1(kCustomColourText), m_first.plotBackground);
        plotIndex = m_plotBackground->count() - 1;
    }
    m_plotBackground->setCurrentIndex(plotIndex);
    m_plotBackground->setEnabled(m_first.plotBackground.isValid());
    form->addRow(QStringLiteral("&Plot background:"), m_plotBackground);

    m_grid = new QCheckBox(QStringLiteral("Show the &grid"), this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setChecked(m_first.grid);
    form->addRow(QString(), m_grid);

    m_traceWidth = new QSpinBox(this);
    m_traceWidth->setObjectName(QStringLiteral("TraceWidth"));
    m_traceWidth->setRange(1, kMaxTraceWidth);
    m_traceWidth->setValue(m_first.traceWidth);
    form->addRow(QStringLiteral("T&race width:"), m_traceWidth);

    m_titleFont = addFontButton(QStringLiteral("TitleFont"), m_first.titleFont);
    form->addRow(QStringLiteral("&Title font:"), m_titleFont);
    m_labelFont = addFontButton(QStringLiteral("LabelFont"), m_first.labelFont);
    form->addRow(QStringLiteral("&Label font:"), m_labelFont);
    m_gridFont = addFontButton(QStringLiteral("GridFont"), m_first.gridFont);
    form->addRow(QStringLiteral("Gri&d font:"), m_gridFont);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GraphAttributesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GraphAttributesDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &GraphAttributesDialog::apply);
    form->addRow(buttons);
    CentreDialog(*this, owner);
}

QPushButton* GraphAttributesDialog::addFontButton(const QString& name, const QFont& font)
{
    auto* button = new QPushButton(FontText(font), this);
    button->setObjectName(name);
    button->setProperty(kFontProperty, font);
    connect(button, &QPushButton::clicked, this, [this, button] {
        bool chosen = false;
        const QFont font = QFontDialog::getFont(&chosen, FontOf(button), this);
        if (chosen) {
            button->setProperty(kFontProperty, font);
            button->setText(FontText(font));
        }
    });
    return button;
}

toolkit::ChartLook GraphAttributesDialog::shownLook() const
{
    toolkit::ChartLook look = m_first;
    look.windowBackground = m_windowBackground->currentIndex();
    if (m_first.plotBackground.isValid())
        look.plotBackground = m_plotBackground->currentData().value<QColor>();
    look.grid = m_grid->isChecked();
    look.traceWidth = m_traceWidth->value();
    look.titleFont = FontOf(m_titleFont);
    look.labelFont = FontOf(m_labelFont);
    look.gridFont = FontOf(m_gridFont);
    return look;
}

void GraphAttributesDialog::apply()
{
    // Each chart gets what the user changed in the dialog and keeps the
    // rest of its own look.
    const toolkit::ChartLook shown = shownLook();
    for (const ChartBefore& before : m_before) {
        if (before.chart.isNull())
            continue;
        toolkit::RestoreChartLook(*before.chart, before.saved);
        toolkit::ChartLook own = before.look;
        if (shown.windowBackground != m_first.windowBackground)
            own.windowBackground = shown.windowBackground;
        if (shown.plotBackground != m_first.plotBackground && own.plotBackground.isValid())
            own.plotBackground = shown.plotBackground;
        if (shown.grid != m_first.grid)
            own.grid = shown.grid;
        if (shown.traceWidth != m_first.traceWidth)
            own.traceWidth = shown.traceWidth;
        if (shown.titleFont != m_first.titleFont)
            own.titleFont = shown.titleFont;
        if (shown.labelFont != m_first.labelFont)
            own.labelFont = shown.labelFont;
        if (shown.gridFont != m_first.gridFont)
            own.gridFont = shown.gridFont;
        toolkit::ApplyChartLook(*before.chart, own);
    }
}

void GraphAttributesDialog::accept()
{
    apply();
    QDialog::accept();
}

void GraphAttributesDialog::reject()
{
    for (const ChartBefore& before : m_before) {
        if (!before.chart.isNull())
            toolkit::RestoreChartLook(*before.chart, before.saved);
    }
    QDialog::reject();
}

bool EditGraphAttributes(QWidget* owner, toolkit::ChartPage& page)
{
    GraphAttributesDialog dialog(owner, page);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vexa::app::printing
