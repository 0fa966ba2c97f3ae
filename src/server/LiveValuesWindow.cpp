#include "server/LiveValuesWindow.h"

#include "server/LiveValuesModel.h"
#include "server/inputs/InputSet.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace vexa::server {

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 480;
constexpr int kNameWidth = 220;
constexpr int kValueWidth = 150;
constexpr int kAgeWidth = 110;
constexpr int kSourceTimeWidth = 180;
constexpr int kRowPadding = 6;

}  // namespace

LiveValuesWindow::LiveValuesWindow(const InputSet& inputs, QWidget* owner)
    : RefreshingWindow(QString::fromLatin1(kTitle), owner),
      m_inputs(inputs),
      m_model(new LiveValuesModel(inputs, this)),
      m_view(new QTableView(this)),
      m_summary(new QLabel(this))
{
    m_view->setModel(m_model);
    m_view->setAccessibleName(QString::fromLatin1(kTitle));
    m_view->verticalHeader()->hide();
    // A hundred thousand rows: every row the same height, so that none is
    // measured.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + kRowPadding);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setWordWrap(false);
    m_view->setColumnWidth(LiveValuesModel::kNameColumn, kNameWidth);
    m_view->setColumnWidth(LiveValuesModel::kValueColumn, kValueWidth);
    m_view->setColumnWidth(LiveValuesModel::kAgeColumn, kAgeWidth);
    m_view->setColumnWidth(LiveValuesModel::kSourceTimeColumn, kSourceTimeWidth);
    m_summary->setBuddy(m_view);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_view);
    resize(kWidth, kHeight);

    Refresh();
}

QString LiveValuesWindow::summary() const
{
    return m_summary->text();
}

void LiveValuesWindow::Refresh()
{
    m_model->Refresh();
    const std::size_t names = m_inputs.table().size();
    m_summary->setText(names == 1 ? QStringLiteral("1 name") : QStringLiteral("%1 names").arg(names));
}

}  // namespace vexa::server
