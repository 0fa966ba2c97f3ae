#pragma once

#include "GraphForm.h"
#include "TypeControls.h"

#include "document/AlarmEntry.h"
#include "document/FontSpec.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vexa::editors {

class GraphPreview;

/// "Edit Graph": one graph of the graph list's scratch copy of the display
/// file, with a live preview of it. Ends with 1 when the graph was saved,
/// 0 otherwise.
///
/// Controls are named for tests and tools: "graphTitle", "graphType",
/// "characteristic", "sizeX", "sizeY", "sizeWidth", "sizeHeight",
/// "updateRate", "measurements", "addMeasurement", "editMeasurement",
/// "deleteMeasurement", "dataColour1" … "dataColour8", "windowBackground",
/// "plotBackground"; the font groups "grid", "label" and "title", each with
/// "<group>Font", "<group>Colour", "<group>Size", "<group>Bold",
/// "<group>Italic", "<group>Underline"; the alarm rows by entry number 1 (OK)
/// … 7 (Deviation): "alarmCheck<k>", "alarmValue<k>" (not for 1),
/// "alarmText<k>", "alarmColour<k>"; "lowHighHysteresis",
/// "deviationHysteresis"; "preview"; "Ok", "Cancel", "Help".
class GraphEditorDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Edit Graph";
    static constexpr const char* kDeleteText = "Delete this entry?";
    static constexpr const char* kDeleteCaption = "Delete Measurement";

    /// Edits graph number owner.currentRow() + 1 of \p displayFile.
    GraphEditorDialog(QListWidget& owner, std::string displayFile, std::string measurementFile);

    /// What the controls hold now.
    GraphForm form() const;
    bool isModified() const { return m_modified; }
    bool isTitleChanged() const { return m_titleChanged; }
    GraphPreview* preview() const { return m_preview; }

    void reject() override;

private:
    /// One attribute group: "Font:", "Color:", "Size:" and the style boxes.
    struct FontGroup {
        QGroupBox* frame = nullptr;
        QComboBox* face = nullptr;
        QComboBox* colour = nullptr;
        QComboBox* size = nullptr;
        QCheckBox* bold = nullptr;
        QCheckBox* italic = nullptr;
        QCheckBox* underline = nullptr;
        const char* key = "";
        /// The key as last loaded, for the fields whose list shows nothing.
        FontSpec loaded;
    };
    struct AlarmRow {
        QCheckBox* check = nullptr;
        QLineEdit* value = nullptr;  ///< none for the OK row
        QLineEdit* text = nullptr;
        QComboBox* colour = nullptr;
    };

    QWidget* buildGeneralColumn();
    QWidget* buildColourColumn();
    QWidget* buildAlarmColumn();
    void buildFontGroup(FontGroup& group, const char* caption, const char* name, const char* key);
    QComboBox* newColourList(QWidget* parent, const QString& name, const QString& accessibleName);
    void watchForChanges();

    void load();
    /// Enables, disables, clears and loads the type-dependent controls for
    /// the selected type, from the graph's section.
    void applyType();
    void applyFontGroup(FontGroup& group, const FontGroupUse& use);
    void applyAlarmRow(int entry, const AlarmRowUse& use);
    void loadColour(QComboBox* list, const std::string& key, int defaultColour);
    void updateListButtons();
    int selectedType() const;

    void addMeasurement();
    void editMeasurement();
    void deleteMeasurement();
    void typePicked();
    void userChanged();
    void ok();
    bool save();
    void showHelp();
    /// Ends the dialog once, whatever presses follow.
    void finish(int result);

    QListWidget& m_owner;
    const std::string m_displayFile;
    const std::string m_measurementFile;
    const std::string m_section;

    QLineEdit* m_title = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_characteristic = nullptr;
    std::array<QLineEdit*, 4> m_size{};
    QLineEdit* m_updateRate = nullptr;
    QListWidget* m_measurements = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    std::array<QComboBox*, 8> m_dataColours{};
    QComboBox* m_windowBackground = nullptr;
    QComboBox* m_plotBackground = nullptr;
    FontGroup m_gridFont;
    FontGroup m_labelFont;
    FontGroup m_titleFont;
    std::array<AlarmRow, kAlarmEntryCount> m_alarms{};
    QLineEdit* m_lowHigh = nullptr;
    QLineEdit* m_deviation = nullptr;
    GraphPreview* m_preview = nullptr;

    bool m_modified = false;
    bool m_titleChanged = false;
    bool m_ending = false;
};

}  // namespace vexa::editors
