#include "MeasurementDefinitionDialog.h"

#include "MeasurementListDialog.h"
#include "editors/graph/NumberBox.h"
#include "app/help/HelpTopics.h"
#include "document/MeasurementSlot.h"
#include "document/ProfileStore.h"
#include "document/ProfileWriteBatch.h"
#include "platform/AnsiText.h"
#include "platform/Messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <utility>

namespace vexa::editors {

namespace {

/// "0" … "6": the offset, then the 1st to 6th coefficient.
std::string CoefficientKey(int index)
{
    return std::to_string(index);
}

/// What a new measurement starts with, and what an absent key reads as.
constexpr const char* kDefaultMinimum = "0.0";
constexpr const char* kDefaultMaximum = "100.0";
constexpr const char* kDefaultCoefficient = "0.0";
constexpr const char* kNewFirstCoefficient = "1.0";

constexpr int kBoxWidth = 140;

/// A value as it is stored: at most kValueLength characters.
std::string StoredValue(const QLineEdit& box)
{
    return ToAnsi(box.text().left(MeasurementDefinitionDialog::kValueLength));
}

}  // namespace

MeasurementDefinitionDialog::MeasurementDefinitionDialog(QListWidget& owner, std::string scratchFile)
    : EditorDialog(&owner, kTemplate, kCaption, app::kHelpMeasurementDefinition),
      m_owner(owner),
      m_scratchFile(std::move(scratchFile))
{
    auto* layout = new QVBoxLayout(this);
    auto* boxes = new QGridLayout;
    layout->addLayout(boxes);
    m_name = addBox(*boxes, 0, 0, kNameCaption);
    m_name->setMaxLength(kNameLength);
    m_minimum = addBox(*boxes, 2, 0, kMinimumCaption);
    m_maximum = addBox(*boxes, 2, 1, kMaximumCaption);
    m_units = addBox(*boxes, 4, 0, kUnitsCaption);
    m_description = addBox(*boxes, 4, 1, kDescriptionCaption);

    auto* conversionLabel = new QLabel(QString::fromLatin1(kConversionCaption), this);
    m_conversion = new QComboBox(this);
    m_conversion->setObjectName(conversionLabel->text());
    m_conversion->setAccessibleName(conversionLabel->text());
    conversionLabel->setBuddy(m_conversion);
    m_conversion->addItems({QString::fromLatin1(kRaw), QString::fromLatin1(kCoefficients)});
    boxes->addWidget(conversionLabel, 6, 0);
    boxes->addWidget(m_conversion, 7, 0);

    m_coefficientsFrame = new QGroupBox(QString::fromLatin1(kCoefficients), this);
    m_coefficientsFrame->setObjectName(m_coefficientsFrame->title());
    // Hidden, the frame keeps its room, so that the dialog does not jump.
    QSizePolicy keepRoom = m_coefficientsFrame->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_coefficientsFrame->setSizePolicy(keepRoom);
    auto* coefficients = new QGridLayout(m_coefficientsFrame);
    for (int index = 0; index < kCoefficientCount; ++index) {
        // The offset stands alone in the first row, the six coefficients in
        // two columns below it.
        const int row = index == 0 ? 0 : 2 + 2 * ((index - 1) / 2);
        const int column = index == 0 ? 0 : (index - 1) % 2;
        m_coefficients[index] = addBox(*coefficients, row, column, kCoefficientCaptions[index]);
    }
    layout->addWidget(m_coefficientsFrame);

    for (QLineEdit* box : {m_minimum, m_maximum, m_units, m_description})
        box->setMaxLength(kValueLength);
    for (QLineEdit* box : m_coefficients)
        box->setMaxLength(kValueLength);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    addOkCancelHelp(*buttons);
    layout->addLayout(buttons);

    const QList<QListWidgetItem*> selected = owner.selectedItems();
    m_entry = selected.isEmpty() ? nullptr : selected.first();
    load(m_entry);

    // Watched after loading: the boxes read as numbers, or show that they
    // do not, from the start.
    for (QLineEdit* box : {m_minimum, m_maximum})
        NumberBox::Watch(*box);
    for (QLineEdit* box : m_coefficients)
        NumberBox::Watch(*box);

    for (QLineEdit* box : findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textEdited, this, [this] { setModified(); });
    connect(m_conversion, &QComboBox::activated, this, [this] {
        setModified();
        showCoefficients();
    });
    place(&owner);
}

QLineEdit* MeasurementDefinitionDialog::addBox(QGridLayout& grid, int row, int column, const char* caption)
{
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    auto* box = new QLineEdit(this);
    box->setObjectName(label->text());
    box->setAccessibleName(label->text());
    box->setMinimumWidth(kBoxWidth);
    label->setBuddy(box);
    grid.addWidget(label, row, column);
    grid.addWidget(box, row + 1, column);
    return box;
}

void MeasurementDefinitionDialog::load(const QListWidgetItem* entry)
{
    if (entry == nullptr) {
        m_minimum->setText(QString::fromLatin1(kDefaultMinimum));
        m_maximum->setText(QString::fromLatin1(kDefaultMaximum));
        m_conversion->setCurrentIndex(m_conversion->findText(QString::fromLatin1(kRaw)));
        for (int index = 0; index < kCoefficientCount; ++index)
            m_coefficients[index]->setText(
                QString::fromLatin1(index == 1 ? kNewFirstCoefficient : kDefaultCoefficient));
        showCoefficients();
        return;
    }
    const std::string section = ToAnsi(entry->text());
    auto read = [&](const char* key, const char* defaultValue) {
        return FromAnsi(profile::ReadString(section, key, defaultValue, m_scratchFile));
    };
    m_name->setText(entry->text());
    m_minimum->setText(read(kMinimumKey, kDefaultMinimum));
    m_maximum->setText(read(kMaximumKey, kDefaultMaximum));
    m_units->setText(read(kUnitsKey, ""));
    m_description->setText(read(kDescriptionKey, ""));
    // Only the exact names select a type; anything else leaves the choice to
    // the user, who is asked for it on Ok.
    m_conversion->setCurrentIndex(m_conversion->findText(read(kConversionKey, kRaw), Qt::MatchExactly | Qt::MatchCaseSensitive));
    for (int index = 0; index < kCoefficientCount; ++index)
        m_coefficients[index]->setText(read(CoefficientKey(index).c_str(), kDefaultCoefficient));
    showCoefficients();
}

void MeasurementDefinitionDialog::showCoefficients()
{
    m_coefficientsFrame->setVisible(m_conversion->currentText() == QString::fromLatin1(kCoefficients));
}

void MeasurementDefinitionDialog::confirm()
{
    if (!isModified()) {
        finish(0);
        return;
    }
    // The store trims blanks around section names, so a name of blanks is none.
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        ShowMessage(this, QString::fromLatin1(kNoNameText), QString::fromLatin1(kNoNameCaption),
                    MessageIcon::Information);
        return;
    }
    if (m_conversion->currentIndex() < 0) {
        ShowMessage(this, QString::fromLatin1(kNoConversionText), QString::fromLatin1(kNoConversionCaption),
                    MessageIcon::Information);
        return;
    }
    {
        const ProfileWriteBatch batch(m_scratchFile);
        updateList(name);
        write(ToAnsi(name));
    }
    finish(1);
}

void MeasurementDefinitionDialog::updateList(const QString& name)
{
    // A new measurement under a name that is defined already replaces that
    // definition.
    QListWidgetItem* replaced = m_entry;
    if (replaced == nullptr)
        replaced = FindMeasurement(m_owner, name, nullptr);
    if (replaced != nullptr)
        profile::DeleteSection(ToAnsi(replaced->text()), m_scratchFile);
    // A rename onto another defined name writes into that definition; its own
    // entry goes, so that the list shows each section once.
    if (QListWidgetItem* other = FindMeasurement(m_owner, name, replaced))
        delete m_owner.takeItem(m_owner.row(other));
    PlaceMeasurement(m_owner, name, replaced);
}

void MeasurementDefinitionDialog::write(const std::string& section) const
{
    const std::string conversion = ToAnsi(m_conversion->currentText());
    profile::WriteString(section, kConversionKey, conversion, m_scratchFile);
    const bool coefficients = conversion == kCoefficients;
    for (int index = 0; index < kCoefficientCount; ++index) {
        const std::string key = CoefficientKey(index);
        if (coefficients)
            profile::WriteString(section, key, StoredValue(*m_coefficients[index]), m_scratchFile);
        else
            profile::DeleteKey(section, key, m_scratchFile);
    }
    profile::WriteString(section, kMinimumKey, StoredValue(*m_minimum), m_scratchFile);
    profile::WriteString(section, kMaximumKey, StoredValue(*m_maximum), m_scratchFile);
    profile::WriteString(section, kUnitsKey, StoredValue(*m_units), m_scratchFile);
    profile::WriteString(section, kDescriptionKey, StoredValue(*m_description), m_scratchFile);
}

int EditMeasurement(QListWidget& owner, const std::string& scratchFile)
{
    MeasurementDefinitionDialog dialog(owner, scratchFile);
    return RunEditorDialog(dialog, &owner);
}

}  // namespace vexa::editors
