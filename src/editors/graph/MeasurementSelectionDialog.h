#pragma once

#include <QDialog>

#include <string>

class QListWidget;

namespace vexa::editors {

/// "Select Measurement": the measurements defined in the measurement file,
/// one of which takes the place of the selected entry of the graph
/// editor's measurement list.
class MeasurementSelectionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Select Measurement";
    static constexpr const char* kFrameCaption = "Defined Measurements";
    static constexpr const char* kNoSelectionText = "Please select a measurement.";
    static constexpr const char* kNoSelectionCaption = "Unable To Assign Measurement";
    /// Object names of the controls.
    static constexpr const char* kListName = "definedMeasurements";

    /// Offers the measurements of \p measurementFile for the selected entry
    /// of \p target.
    MeasurementSelectionDialog(QListWidget& target, const std::string& measurementFile, QWidget* owner);

    QListWidget* list() const { return m_list; }

    void reject() override;

private:
    void choose();
    void showHelp();

    QListWidget& m_target;
    QListWidget* m_list = nullptr;
    bool m_modified = false;
    bool m_ending = false;
};

/// Runs the selection over \p owner. 1 when the selected entry of \p target
/// was replaced, 0 otherwise (also when the dialog could not be shown,
/// which is reported).
int SelectMeasurement(QListWidget& target, const std::string& measurementFile, QWidget* owner);

}  // namespace vexa::editors
