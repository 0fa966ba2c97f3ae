#include "GraphEditorDialog.h"

#include "DialogButtons.h"
#include "GraphPreview.h"
#include "MeasurementSelectionDialog.h"
#include "NumberBox.h"

#include "app/help/HelpTopics.h"
#include "app/help/HelpWindow.h"
#include "document/Definitions.h"
#include "document/DisplayFormat.h"
#include "document/GraphDefinition.h"
#include "document/Placement.h"
#include "document/ProfileStore.h"
#include "platform/AnsiText.h"
#include "platform/DialogPlacement.h"
#include "platform/InstalledFonts.h"
#include "platform/Messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace vexa::editors {

namespace {

constexpr int kTitleLength = static_cast<int>(kTitleCapacity) - 1;
/// Each size box holds the four characters that are read from it.
constexpr int kSizeFieldLength = 4;
constexpr int kAlarmFieldLengthInt = static_cast<int>(kAlarmFieldLength);
constexpr int kSmallestFontSize = 6;
constexpr int kLargestFontSize = 18;
constexpr const char* kDefaultTypeName = "FixedTabular";
constexpr int kMeasurementListHeight = 110;
constexpr int kMeasurementListWidth = 150;
/// Room for a limit and for most alarm texts without scrolling.
constexpr int kAlarmValueWidth = 64;
constexpr int kAlarmTextWidth = 110;

constexpr std::array<const char*, 3> kCharacteristicNames{"Fixed", "Proportional", "Isotropic"};
constexpr std::array<int, 3> kCharacteristicCodes{kFixedCharacteristic, kProportionalCharacteristic,
                                                  kIsotropicCharacteristic};
constexpr std::array<const char*, 4> kSizeLabels{"X:", "Y:", "Width:", "Height:"};
constexpr std::array<const char*, 4> kSizeNames{"sizeX", "sizeY", "sizeWidth", "sizeHeight"};

/// The alarm rows from top to bottom, by entry number, with their captions.
struct AlarmRowCaption {
    int entry;
    const char* caption;
};
constexpr std::array<AlarmRowCaption, kAlarmEntryCount> kAlarmRows{{
    {kAlarmNormal, "OK"},
    {kAlarmLow, "Low"},
    {kAlarmHigh, "High"},
    {kAlarmLowLow, "Low Low"},
    {kAlarmHighHigh, "High High"},
    {kAlarmRate, "Rate"},
    {kAlarmDeviation, "Deviation"},
}};

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

QString Numbered(const char* stem, int number)
{
    return Latin(stem) + QString::number(number);
}

/// The first entry that begins with \p text without regard to case, as a
/// list selects by prefix; -1 when none does.
int IndexByPrefix(const QComboBox& list, const QString& text)
{
    for (int index = 0; index < list.count(); ++index) {
        if (list.itemText(index).startsWith(text, Qt::CaseInsensitive))
            return index;
    }
    return -1;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, const QString& accessibleName, int maxLength = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLabel* NewLabel(QWidget* parent, const char* caption, QWidget* buddy)
{
    auto* label = new QLabel(Latin(caption), parent);
    label->setBuddy(buddy);
    return label;
}

/// A box holding one control under a frame caption.
QGroupBox* NewFramed(QWidget* parent, const char* caption, QWidget* content)
{
    auto* frame = new QGroupBox(Latin(caption), parent);
    auto* layout = new QVBoxLayout(frame);
    content->setParent(frame);
    layout->addWidget(content);
    return frame;
}

void SetState(QWidget* widget, bool enabled)
{
    if (widget != nullptr)
        widget->setEnabled(enabled);
}

void ClearSelection(QComboBox* list)
{
    list->setCurrentIndex(-1);
}

void SelectColour(QComboBox* list, int colour)
{
    list->setCurrentIndex(colour >= 0 && colour < kColourCount ? colour : -1);
}

int SelectedColour(const QComboBox* list)
{
    const int index = list->currentIndex();
    return index >= 0 && index < kColourCount ? index : kNoColour;
}

}  // namespace

GraphEditorDialog::GraphEditorDialog(QListWidget& owner, std::string displayFile, std::string measurementFile)
    : QDialog(&owner),
      m_owner(owner),
      m_displayFile(std::move(displayFile)),
      m_measurementFile(std::move(measurementFile)),
      m_section(GraphSectionName(owner.currentRow() + 1))
{
    setWindowTitle(Latin(kCaption));
    setObjectName(QStringLiteral("EditGraphDialog"));

    // Built in reading order, column by column, so that Tab follows it.
    QWidget* general = buildGeneralColumn();
    QWidget* colours = buildColourColumn();
    QWidget* alarms = buildAlarmColumn();
    const DialogButtons buttons = AddDialogButtons(this);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(general, 0, Qt::AlignTop);
    layout->addWidget(colours, 0, Qt::AlignTop);
    layout->addWidget(alarms, 1);
    layout->addLayout(buttons.column);

    connect(buttons.ok, &QPushButton::clicked, this, &GraphEditorDialog::ok);
    connect(buttons.cancel, &QPushButton::clicked, this, &GraphEditorDialog::reject);
    connect(buttons.help, &QPushButton::clicked, this, &GraphEditorDialog::showHelp);
    connect(m_add, &QPushButton::clicked, this, &GraphEditorDialog::addMeasurement);
    connect(m_edit, &QPushButton::clicked, this, &GraphEditorDialog::editMeasurement);
    connect(m_delete, &QPushButton::clicked, this, &GraphEditorDialog::deleteMeasurement);
    connect(m_measurements, &QListWidget::itemDoubleClicked, this, &GraphEditorDialog::editMeasurement);
    connect(m_measurements, &QListWidget::itemSelectionChanged, this, &GraphEditorDialog::updateListButtons);
    connect(m_type, &QComboBox::activated, this, &GraphEditorDialog::typePicked);
    connect(m_title, &QLineEdit::textEdited, this, [this] { m_titleChanged = true; });
    watchForChanges();

    load();
    adjustSize();
    CentreDialog(*this, owner.window());
    m_modified = false;
    m_titleChanged = false;
}

QWidget* GraphEditorDialog::buildGeneralColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    m_title = NewEdit(column, QStringLiteral("graphTitle"), Latin("Graph Title"), kTitleLength);
    layout->addWidget(NewFramed(column, "Graph Title", m_title));

    m_type = new QComboBox(column);
    m_type->setObjectName(QStringLiteral("graphType"));
    m_type->setAccessibleName(Latin("Graph Type"));
    for (const char* name : kGraphTypeNames)
        m_type->addItem(Latin(name));
    layout->addWidget(NewFramed(column, "Graph Type", m_type));

    m_characteristic = new QComboBox(column);
    m_characteristic->setObjectName(QStringLiteral("characteristic"));
    m_characteristic->setAccessibleName(Latin("Graph Characteristics"));
    for (const char* name : kCharacteristicNames)
        m_characteristic->addItem(Latin(name));
    layout->addWidget(NewFramed(column, "Graph Characteristics", m_characteristic));

    auto* size = new QGroupBox(Latin("Initial Graph Size"), column);
    auto* sizeLayout = new QGridLayout(size);
    for (std::size_t i = 0; i < m_size.size(); ++i) {
        m_size[i] = NewEdit(size, Latin(kSizeNames[i]), Latin(kSizeLabels[i]), kSizeFieldLength);
        const int row = static_cast<int>(i / 2);
        const int column2 = static_cast<int>(i % 2) * 2;
        sizeLayout->addWidget(NewLabel(size, kSizeLabels[i], m_size[i]), row, column2);
        sizeLayout->addWidget(m_size[i], row, column2 + 1);
    }
    layout->addWidget(size);

    m_updateRate = NewEdit(column, QStringLiteral("updateRate"), Latin("Update Rate"));
    layout->addWidget(NewFramed(column, "Update Rate", m_updateRate));

    auto* measurements = new QGroupBox(Latin("Measurements"), column);
    auto* listLayout = new QHBoxLayout(measurements);
    m_measurements = new QListWidget(measurements);
    m_measurements->setObjectName(QStringLiteral("measurements"));
    m_measurements->setAccessibleName(Latin("Measurements"));
    m_measurements->setMinimumSize(kMeasurementListWidth, kMeasurementListHeight);
    listLayout->addWidget(m_measurements, 1);
    auto* listButtons = new QVBoxLayout;
    m_add = new QPushButton(Latin("Add"), measurements);
    m_add->setObjectName(QStringLiteral("addMeasurement"));
    m_edit = new QPushButton(Latin("Edit"), measurements);
    m_edit->setObjectName(QStringLiteral("editMeasurement"));
    m_delete = new QPushButton(Latin("Delete"), measurements);
    m_delete->setObjectName(QStringLiteral("deleteMeasurement"));
    for (QPushButton* button : {m_add, m_edit, m_delete}) {
        button->setAutoDefault(false);
        listButtons->addWidget(button);
    }
    listButtons->addStretch();
    listLayout->addLayout(listButtons);
    layout->addWidget(measurements, 1);
    return column;
}

QComboBox* GraphEditorDialog::newColourList(QWidget* parent, const QString& name, const QString& accessibleName)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    for (const char* colour : kColourNames)
        list->addItem(Latin(colour));
    list->setCurrentIndex(-1);
    return list;
}

QWidget* GraphEditorDialog::buildColourColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* data = new QGroupBox(Latin("Measurement Data Colors"), column);
    auto* dataLayout = new QGridLayout(data);
    for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
        const QString caption = QStringLiteral("#%1:").arg(k);
        QComboBox* list = newColourList(data, Numbered("dataColour", k), caption);
        m_dataColours[static_cast<std::size_t>(k - 1)] = list;
        // Read across: #1 #2 on the first row, #3 #4 on the next.
        const int row = (k - 1) / 2;
        const int pair = ((k - 1) % 2) * 2;
        auto* label = new QLabel(caption, data);
        label->setBuddy(list);
        dataLayout->addWidget(label, row, pair);
        dataLayout->addWidget(list, row, pair + 1);
    }
    layout->addWidget(data);

    m_windowBackground = newColourList(column, QStringLiteral("windowBackground"), Latin("Window Background Color"));
    layout->addWidget(NewFramed(column, "Window Background Color", m_windowBackground));
    m_plotBackground = newColourList(column, QStringLiteral("plotBackground"), Latin("Plot Background Color"));
    layout->addWidget(NewFramed(column, "Plot Background Color", m_plotBackground));

    buildFontGroup(m_gridFont, "Grid Attributes", "grid", kGridFontKey);
    buildFontGroup(m_labelFont, "Label Attributes", "label", kLabelFontKey);
    buildFontGroup(m_titleFont, "Title Attributes", "title", kTitleFontKey);
    for (FontGroup* group : {&m_gridFont, &m_labelFont, &m_titleFont}) {
        group->frame->setParent(column);
        layout->addWidget(group->frame);
    }
    return column;
}

void GraphEditorDialog::buildFontGroup(FontGroup& group, const char* caption, const char* name, const char* key)
{
    group.key = key;
    group.frame = new QGroupBox(Latin(caption), this);
    const QString stem = Latin(name);
    auto* grid = new QGridLayout(group.frame);

    group.face = new QComboBox(group.frame);
    group.face->setObjectName(stem + QStringLiteral("Font"));
    group.face->setAccessibleName(Latin("Font:"));
    group.face->addItems(OfferedFontFaces());
    group.face->setCurrentIndex(-1);
    grid->addWidget(NewLabel(group.frame, "Font:", group.face), 0, 0);
    grid->addWidget(group.face, 0, 1, 1, 3);

    group.colour = newColourList(group.frame, stem + QStringLiteral("Colour"), Latin("Color:"));
    grid->addWidget(NewLabel(group.frame, "Color:", group.colour), 1, 0);
    grid->addWidget(group.colour, 1, 1);
    group.size = new QComboBox(group.frame);
    group.size->setObjectName(stem + QStringLiteral("Size"));
    group.size->setAccessibleName(Latin("Size:"));
    for (int points = kSmallestFontSize; points <= kLargestFontSize; ++points)
        group.size->addItem(QString::number(points));
    group.size->setCurrentIndex(-1);
    grid->addWidget(NewLabel(group.frame, "Size:", group.size), 1, 2);
    grid->addWidget(group.size, 1, 3);

    auto* styles = new QHBoxLayout;
    group.bold = new QCheckBox(Latin("Bold"), group.frame);
    group.italic = new QCheckBox(Latin("Italic"), group.frame);
    group.underline = new QCheckBox(Latin("Underline"), group.frame);
    for (QCheckBox* box : {group.bold, group.italic, group.underline}) {
        box->setObjectName(stem + box->text());
        box->setAccessibleName(box->text());
        styles->addWidget(box);
    }
    grid->addLayout(styles, 2, 0, 1, 4);
}

QWidget* GraphEditorDialog::buildAlarmColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* alarms = new QGroupBox(Latin("Alarms"), column);
    auto* grid = new QGridLayout(alarms);
    enum Column { kCheckColumn, kValueColumn, kTextColumn, kColourColumn };
    grid->addWidget(new QLabel(Latin("Value"), alarms), 0, kValueColumn);
    grid->addWidget(new QLabel(Latin("Text"), alarms), 0, kTextColumn);
    grid->addWidget(new QLabel(Latin("Color"), alarms), 0, kColourColumn);
    int gridRow = 1;
    for (const AlarmRowCaption& each : kAlarmRows) {
        AlarmRow& row = m_alarms[static_cast<std::size_t>(each.entry - 1)];
        const QString caption = Latin(each.caption);
        row.check = new QCheckBox(caption, alarms);
        row.check->setObjectName(Numbered("alarmCheck", each.entry));
        row.check->setAccessibleName(caption);
        grid->addWidget(row.check, gridRow, kCheckColumn);
        if (each.entry != kAlarmNormal) {
            row.value = NewEdit(alarms, Numbered("alarmValue", each.entry), caption + QStringLiteral(" Value"),
                                kAlarmFieldLengthInt);
            row.value->setMinimumWidth(kAlarmValueWidth);
            NumberBox::Watch(*row.value, NumberBox::EmptyText::Accepted);
            grid->addWidget(row.value, gridRow, kValueColumn);
        }
        row.text = NewEdit(alarms, Numbered("alarmText", each.entry), caption + QStringLiteral(" Text"),
                           kAlarmFieldLengthInt);
        row.text->setMinimumWidth(kAlarmTextWidth);
        grid->addWidget(row.text, gridRow, kTextColumn);
        row.colour = newColourList(alarms, Numbered("alarmColour", each.entry), caption + QStringLiteral(" Color"));
        grid->addWidget(row.colour, gridRow, kColourColumn);
        ++gridRow;
    }
    auto* hysteresis = new QGroupBox(Latin("Hysteresis"), alarms);
    auto* hysteresisLayout = new QHBoxLayout(hysteresis);
    m_lowHigh = NewEdit(hysteresis, QStringLiteral("lowHighHysteresis"), Latin("Low/High:"));
    m_deviation = NewEdit(hysteresis, QStringLiteral("deviationHysteresis"), Latin("Deviation:"));
    NumberBox::Watch(*m_lowHigh, NumberBox::EmptyText::Accepted);
    NumberBox::Watch(*m_deviation, NumberBox::EmptyText::Accepted);
    hysteresisLayout->addWidget(NewLabel(hysteresis, "Low/High:", m_lowHigh));
    hysteresisLayout->addWidget(m_lowHigh);
    hysteresisLayout->addWidget(NewLabel(hysteresis, "Deviation:", m_deviation));
    hysteresisLayout->addWidget(m_deviation);
    grid->addWidget(hysteresis, gridRow, 0, 1, 4);
    layout->addWidget(alarms);

    m_preview = new GraphPreview([this] { return PreviewDefinition(form(), m_measurementFile); }, column);
    layout->addWidget(m_preview, 1);
    return column;
}

void GraphEditorDialog::watchForChanges()
{
    // User actions alone set modified; every change, the user's or the
    // loading's, redraws the preview.
    const auto redraw = [this] { m_preview->scheduleRebuild(); };
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::textEdited, this, &GraphEditorDialog::userChanged);
        connect(edit, &QLineEdit::textChanged, this, redraw);
    }
    for (QComboBox* list : findChildren<QComboBox*>()) {
        if (list != m_type)
            connect(list, &QComboBox::activated, this, &GraphEditorDialog::userChanged);
        connect(list, &QComboBox::currentIndexChanged, this, redraw);
    }
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        connect(box, &QCheckBox::clicked, this, &GraphEditorDialog::userChanged);
        connect(box, &QCheckBox::toggled, this, redraw);
    }
    connect(m_measurements, &QListWidget::itemClicked, this, &GraphEditorDialog::userChanged);
    QAbstractItemModel* entries = m_measurements->model();
    connect(entries, &QAbstractItemModel::rowsInserted, this, redraw);
    connect(entries, &QAbstractItemModel::rowsRemoved, this, redraw);
    connect(entries, &QAbstractItemModel::dataChanged, this, redraw);
}

void GraphEditorDialog::load()
{
    m_title->setText(FromAnsi(profile::ReadString(m_section, kTitleKey, "", m_displayFile, kTitleCapacity)));
    m_type->setCurrentIndex(
        IndexByPrefix(*m_type, FromAnsi(profile::ReadString(m_section, kTypeKey, kDefaultTypeName, m_displayFile))));
    m_characteristic->setCurrentIndex(IndexByPrefix(
        *m_characteristic,
        FromAnsi(profile::ReadString(m_section, kCharacteristicKey, kDefaultCharacteristicName, m_displayFile))));
    m_updateRate->setText(FromAnsi(profile::ReadString(m_section, kUpdatePeriodKey,
                                                       std::to_string(kDefaultUpdatePeriodMs), m_displayFile)));

    QStringList names;
    for (int k = 1;; ++k) {
        const std::string name = profile::ReadString(m_section, NumberedKey(kMeasurementKeyStem, k), "",
                                                     m_displayFile, kMeasurementNameCapacity);
        if (name.empty())
            break;
        names << FromAnsi(name);
    }
    names.sort(Qt::CaseInsensitive);
    m_measurements->addItems(names);
    updateListButtons();

    const Placement placement = ReadPlacement(m_section, kPlacementKey, kEditorDefaultPlacement, m_displayFile);
    const std::array<int, 4> values{placement.x, placement.y, placement.width, placement.height};
    for (std::size_t i = 0; i < m_size.size(); ++i)
        m_size[i]->setText(QString::number(values[i]));

    applyType();
}

int GraphEditorDialog::selectedType() const
{
    const int index = m_type->currentIndex();
    return index < 0 ? kNoGraphType : index + 1;
}

void GraphEditorDialog::loadColour(QComboBox* list, const std::string& key, int defaultColour)
{
    list->setEnabled(true);
    SelectColour(list, profile::ReadInt(m_section, key, defaultColour, m_displayFile));
}

void GraphEditorDialog::applyType()
{
    const int type = selectedType();
    const TypeControls controls = ControlsForType(type);
    if (type != kNoGraphType) {
        if (controls.plotBackground) {
            loadColour(m_plotBackground, kPlotColourKey, kDefaultPlotBackground);
        } else {
            ClearSelection(m_plotBackground);
            m_plotBackground->setEnabled(false);
        }
        applyFontGroup(m_gridFont, controls.grid);
        applyFontGroup(m_labelFont, controls.label);
        applyFontGroup(m_titleFont, controls.title);
        for (int k = 1; k <= kMaxMeasurementsPerGraph; ++k) {
            QComboBox* list = m_dataColours[static_cast<std::size_t>(k - 1)];
            if (k <= controls.dataColours) {
                loadColour(list, NumberedKey(kDataColourKeyStem, k), DefaultDataColour(k));
            } else {
                ClearSelection(list);
                list->setEnabled(false);
            }
        }
    }
    loadColour(m_windowBackground, kWindowBackgroundKey, kDefaultWindowBackground);
    for (int entry = 1; entry <= kAlarmEntryCount; ++entry)
        applyAlarmRow(entry, controls.alarms[static_cast<std::size_t>(entry - 1)]);

    m_lowHigh->setEnabled(controls.hysteresis);
    m_deviation->setEnabled(controls.hysteresis);
    if (controls.hysteresis) {
        const auto [lowHigh, deviation] = ReadHysteresis(m_section, m_displayFile);
        m_lowHigh->setText(FromAnsi(lowHigh));
        m_deviation->setText(FromAnsi(deviation));
    }
}

void GraphEditorDialog::applyFontGroup(FontGroup& group, const FontGroupUse& use)
{
    const std::array<QWidget*, 6> controls{group.face, group.colour, group.size,
                                           group.bold, group.italic, group.underline};
    for (QWidget* control : controls)
        control->setEnabled(use.enabled);
    group.frame->setEnabled(use.enabled);
    if (!use.enabled) {
        group.loaded = {};
        ClearSelection(group.face);
        ClearSelection(group.colour);
        ClearSelection(group.size);
        for (QCheckBox* box : {group.bold, group.italic, group.underline})
            box->setChecked(false);
        return;
    }
    group.loaded = ReadFontSpec(m_section, group.key, use.kind, m_displayFile);
    SelectColour(group.colour, group.loaded.colour);
    if (use.loadsFaceAndSize) {
        group.face->setCurrentIndex(group.face->findText(FromAnsi(group.loaded.face), Qt::MatchExactly | Qt::MatchCaseSensitive));
        group.size->setCurrentIndex(group.size->findText(QString::number(group.loaded.size), Qt::MatchExactly));
    }
    if (use.loadsStyle) {
        group.bold->setChecked((group.loaded.style & kFontBold) != 0);
        group.italic->setChecked((group.loaded.style & kFontItalic) != 0);
        group.underline->setChecked((group.loaded.style & kFontUnderline) != 0);
    }
}

void GraphEditorDialog::applyAlarmRow(int entry, const AlarmRowUse& use)
{
    AlarmRow& row = m_alarms[static_cast<std::size_t>(entry - 1)];
    SetState(row.check, use.check);
    SetState(row.value, use.value);
    SetState(row.text, use.text);
    SetState(row.colour, use.colour);
    if (!use.check) {
        row.check->setChecked(false);
        if (row.value != nullptr)
            row.value->clear();
        row.text->clear();
        ClearSelection(row.colour);
        return;
    }
    // A row in use is loaded whole, its disabled parts too, so that saving
    // keeps what they hold.
    const AlarmEntry alarm = ReadAlarmEntry(m_section, entry, m_displayFile);
    row.check->setChecked(alarm.enabled);
    if (row.value != nullptr)
        row.value->setText(FromAnsi(alarm.limit));
    row.text->setText(FromAnsi(alarm.text));
    SelectColour(row.colour, alarm.colour);
}

void GraphEditorDialog::updateListButtons()
{
    QListWidgetItem* current = m_measurements->currentItem();
    const bool selected = current != nullptr && current->isSelected();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_add->setEnabled(m_measurements->count() < MostMeasurementsOfType(selectedType()));
}

GraphForm GraphEditorDialog::form() const
{
    GraphForm form;
    form.title = ToAnsi(m_title->text());
    form.type = selectedType();
    const int characteristic = m_characteristic->currentIndex();
    form.characteristic = characteristic < 0 ? kNoCharacteristic
                                             : kCharacteristicCodes[static_cast<std::size_t>(characteristic)];
    form.updateRate = ToAnsi(m_updateRate->text());
    for (int row = 0; row < m_measurements->count(); ++row)
        form.measurements.push_back(ToAnsi(m_measurements->item(row)->text()));
    for (std::size_t i = 0; i < m_size.size(); ++i)
        form.size[i] = ToAnsi(m_size[i]->text());
    for (std::size_t k = 0; k < m_dataColours.size(); ++k)
        form.dataColours[k] = SelectedColour(m_dataColours[k]);
    form.windowBackground = SelectedColour(m_windowBackground);
    form.plotBackground = SelectedColour(m_plotBackground);

    const auto fontOf = [](const FontGroup& group) {
        FontForm font;
        font.enabled = group.frame->isEnabled();
        if (!font.enabled)
            return font;
        // A list that shows nothing keeps what the key held.
        font.face = group.face->currentIndex() >= 0 ? ToAnsi(group.face->currentText()) : group.loaded.face;
        font.size = group.size->currentIndex() >= 0 ? ToAnsi(group.size->currentText())
                                                    : std::to_string(group.loaded.size);
        font.style = (group.bold->isChecked() ? kFontBold : 0) | (group.italic->isChecked() ? kFontItalic : 0)
                     | (group.underline->isChecked() ? kFontUnderline : 0);
        font.colour = SelectedColour(group.colour);
        return font;
    };
    form.gridFont = fontOf(m_gridFont);
    form.labelFont = fontOf(m_labelFont);
    form.titleFont = fontOf(m_titleFont);

    for (std::size_t i = 0; i < m_alarms.size(); ++i) {
        const AlarmRow& row = m_alarms[i];
        AlarmRowForm& alarm = form.alarms[i];
        alarm.enabled = row.check->isEnabled();
        alarm.checked = row.check->isChecked();
        if (row.value != nullptr)
            alarm.value = ToAnsi(row.value->text());
        alarm.text = ToAnsi(row.text->text());
        alarm.colour = SelectedColour(row.colour);
    }
    form.hysteresisEnabled = m_lowHigh->isEnabled();
    form.lowHighHysteresis = ToAnsi(m_lowHigh->text());
    form.deviationHysteresis = ToAnsi(m_deviation->text());
    return form;
}

void GraphEditorDialog::userChanged()
{
    m_modified = true;
}

void GraphEditorDialog::typePicked()
{
    m_modified = true;
    updateListButtons();
    applyType();
}

void GraphEditorDialog::addMeasurement()
{
    // The empty entry sorts to the top; the chosen name takes its place.
    m_measurements->insertItem(0, QString());
    m_measurements->setCurrentRow(0);
    if (SelectMeasurement(*m_measurements, m_measurementFile, this) == 1) {
        m_modified = true;
    } else {
        const std::unique_ptr<QListWidgetItem> placeholder(m_measurements->takeItem(0));
    }
    updateListButtons();
}

void GraphEditorDialog::editMeasurement()
{
    QListWidgetItem* current = m_measurements->currentItem();
    if (current == nullptr || !current->isSelected())
        return;
    if (SelectMeasurement(*m_measurements, m_measurementFile, this) == 1)
        m_modified = true;
    updateListButtons();
}

void GraphEditorDialog::deleteMeasurement()
{
    const int row = m_measurements->currentRow();
    if (row < 0)
        return;
    if (ShowMessage(this, Latin(kDeleteText), Latin(kDeleteCaption), MessageIcon::Question, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    const std::unique_ptr<QListWidgetItem> removed(m_measurements->takeItem(row));
    if (m_measurements->count() > 0)
        m_measurements->setCurrentRow(std::min(row, m_measurements->count() - 1));
    m_modified = true;
    updateListButtons();
}

void GraphEditorDialog::ok()
{
    if (m_ending)
        return;
    if (!m_modified) {
        finish(0);
        return;
    }
    if (save())
        finish(1);
}

bool GraphEditorDialog::save()
{
    const GraphForm values = form();
    const int ownerRow = m_owner.currentRow();
    std::vector<std::string> otherTitles;
    for (int row = 0; row < m_owner.count(); ++row) {
        if (row != ownerRow)
            otherTitles.push_back(ToAnsi(m_owner.item(row)->text()));
    }
    if (const std::string problem = FirstSaveProblem(values, m_titleChanged, otherTitles); !problem.empty()) {
        Beep();
        ShowMessage(this, FromAnsi(problem), Latin(kSaveErrorCaption), MessageIcon::Information);
        return false;
    }
    WriteGraphSection(values, m_section, m_displayFile);
    if (m_titleChanged) {
        QListWidgetItem* entry = m_owner.item(ownerRow);
        const std::string oldTitle = entry != nullptr ? ToAnsi(entry->text()) : std::string();
        RenameGraphInViews(oldTitle, values.title, m_displayFile);
        if (entry != nullptr) {
            entry->setText(FromAnsi(values.title));
            m_owner.setCurrentRow(ownerRow);
        }
    }
    return true;
}

void GraphEditorDialog::reject()
{
    if (m_ending)
        return;
    ConfirmCancelAnd(this, m_modified, [this] { ok(); }, [this] { finish(0); });
}

void GraphEditorDialog::finish(int result)
{
    m_ending = true;
    done(result);
}

void GraphEditorDialog::showHelp()
{
    app::ShowHelpTopic(this, app::kHelpGraphDefinition);
}

}  // namespace vexa::editors
