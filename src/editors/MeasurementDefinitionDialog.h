#pragma once

#include "EditorDialog.h"

#include <array>
#include <string>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace vexa::editors {

/// "Measurement Definition": one measurement's name, limits, units,
/// description and conversion, edited in the scratch copy of the measurement
/// file. It edits the selected entry of the owner's list, or a new
/// measurement when none is selected, and keeps that list up to date itself.
class MeasurementDefinitionDialog : public EditorDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Measurement Definition";
    static constexpr const char* kTemplate = "measurement_definition";
    static constexpr int kNameLength = 32;
    /// Each value is stored with at most this many characters.
    static constexpr int kValueLength = 49;
    static constexpr const char* kRaw = "Raw";
    static constexpr const char* kCoefficients = "Coefficients";
    static constexpr int kCoefficientCount = 7;
    /// Captions of the boxes; each box and its label carry its caption as
    /// object and accessible name.
    static constexpr const char* kNameCaption = "Name";
    static constexpr const char* kMinimumCaption = "Minimum Value";
    static constexpr const char* kMaximumCaption = "Maximum Value";
    static constexpr const char* kUnitsCaption = "Units";
    static constexpr const char* kDescriptionCaption = "Measurement Description";
    static constexpr const char* kConversionCaption = "Conversion Type";
    static constexpr std::array<const char*, kCoefficientCount> kCoefficientCaptions{
        "Offset:", "1st:", "2nd:", "3rd:", "4th:", "5th:", "6th:"};

    static constexpr const char* kNoNameText = "You must first enter a measurement name before exiting.";
    static constexpr const char* kNoNameCaption = "Illegal Value Entered";
    static constexpr const char* kNoConversionText = "Please select a data conversion type.";
    static constexpr const char* kNoConversionCaption = "Illegal value Entered";

    MeasurementDefinitionDialog(QListWidget& owner, std::string scratchFile);

    QLineEdit* nameBox() const { return m_name; }
    QComboBox* conversionList() const { return m_conversion; }
    QGroupBox* coefficientsFrame() const { return m_coefficientsFrame; }

protected:
    void confirm() override;

private:
    QLineEdit* addBox(QGridLayout& grid, int row, int column, const char* caption);
    void load(const QListWidgetItem* entry);
    void showCoefficients();
    /// Puts the name into the owner's list: in place of the edited entry (or
    /// of the entry that already holds the name), or as a new entry.
    void updateList(const QString& name);
    void write(const std::string& section) const;

    QListWidget& m_owner;
    std::string m_scratchFile;
    /// The owner's selected entry when the dialog opened; null for a new
    /// measurement.
    QListWidgetItem* m_entry = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_minimum = nullptr;
    QLineEdit* m_maximum = nullptr;
    QLineEdit* m_units = nullptr;
    QLineEdit* m_description = nullptr;
    QComboBox* m_conversion = nullptr;
    QGroupBox* m_coefficientsFrame = nullptr;
    std::array<QLineEdit*, kCoefficientCount> m_coefficients{};
};

/// Runs "Measurement Definition" over the measurement list \p owner on its
/// selected entry, or on a new measurement when none is selected. 1 when it
/// wrote the definition into \p scratchFile, otherwise 0.
int EditMeasurement(QListWidget& owner, const std::string& scratchFile);

}  // namespace vexa::editors
