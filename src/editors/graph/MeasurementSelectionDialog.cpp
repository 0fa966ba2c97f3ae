#include "MeasurementSelectionDialog.h"

#include "DialogButtons.h"

#include "app/help/HelpTopics.h"
#include "app/help/HelpWindow.h"
#include "link/client/NameList.h"
#include "platform/DialogConventions.h"
#include "platform/DialogPlacement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa::editors {

namespace {

constexpr int kListWidth = 220;
constexpr int kListHeight = 220;

}  // namespace

MeasurementSelectionDialog::MeasurementSelectionDialog(QListWidget& target, const std::string& measurementFile,
                                                       QWidget* owner)
    : QDialog(owner), m_target(target)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    setObjectName(QStringLiteral("select_measurement"));
    auto* frame = new QGroupBox(QString::fromLatin1(kFrameCaption), this);
    m_list = new QListWidget(frame);
    m_list->setObjectName(QString::fromLatin1(kListName));
    m_list->setAccessibleName(QString::fromLatin1(kFrameCaption));
    m_list->setMinimumSize(kListWidth, kListHeight);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_list);

    const DialogButtons buttons = AddDialogButtons(this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons.column);

    // Sorted as the graph's own list is: without regard to case.
    QStringList names = link::ReadNamesFromMvx(this, measurementFile);
    names.sort(Qt::CaseInsensitive);
    m_list->addItems(names);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { m_modified = true; });
    connect(m_list, &QListWidget::itemClicked, this, [this] { m_modified = true; });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        m_modified = true;
        choose();
    });
    connect(buttons.ok, &QPushButton::clicked, this, &MeasurementSelectionDialog::choose);
    connect(buttons.cancel, &QPushButton::clicked, this, &MeasurementSelectionDialog::reject);
    connect(buttons.help, &QPushButton::clicked, this, &MeasurementSelectionDialog::showHelp);

    adjustSize();
    CentreDialog(*this, owner);
    // Filling the list is no change of the user's.
    m_modified = false;
}

void MeasurementSelectionDialog::choose()
{
    if (m_ending)
        return;
    if (!m_modified) {
        m_ending = true;
        done(0);
        return;
    }
    QListWidgetItem* chosen = m_list->currentItem();
    if (chosen == nullptr || !chosen->isSelected()) {
        Beep();
        ShowMessage(this, QString::fromLatin1(kNoSelectionText), QString::fromLatin1(kNoSelectionCaption),
                    MessageIcon::Information);
        return;
    }
    const int row = m_target.currentRow();
    if (QListWidgetItem* entry = m_target.item(row)) {
        entry->setText(chosen->text());
        m_target.setCurrentRow(row);
    }
    m_ending = true;
    done(1);
}

void MeasurementSelectionDialog::reject()
{
    if (m_ending)
        return;
    ConfirmCancelAnd(this, m_modified, [this] { choose(); }, [this] {
        m_ending = true;
        done(0);
    });
}

void MeasurementSelectionDialog::showHelp()
{
    app::ShowHelpPopup(this, app::kHelpMeasurementSelection);
}

int SelectMeasurement(QListWidget& target, const std::string& measurementFile, QWidget* owner)
{
    MeasurementSelectionDialog dialog(target, measurementFile, owner);
    const int result = dialog.exec();
    if (result < 0) {
        ReportDialogFailure(owner);
        return 0;
    }
    return result;
}

}  // namespace vexa::editors
