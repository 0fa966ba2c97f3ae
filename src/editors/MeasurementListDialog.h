#pragma once

#include "EditorDialog.h"

#include <functional>
#include <string>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QString;

namespace vexa::editors {

/// "Edit Measurement Definitions": the sorted list of the measurements of
/// the scratch copy of the measurement file, with Add, Edit and Delete.
class MeasurementListDialog : public EditorDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Edit Measurement Definitions";
    static constexpr const char* kTemplate = "edit_measurement";
    static constexpr const char* kFrameCaption = "Defined Measurements";
    static constexpr const char* kDeleteText = "Delete this entry?";
    static constexpr const char* kDeleteCaption = "Delete Measurement";

    /// \p commit is called by Ok after a change; it hands the scratch copy
    /// back and says whether that worked.
    MeasurementListDialog(QWidget* owner, std::string scratchFile, std::function<bool()> commit);

    QListWidget* list() const { return m_list; }

    void add();
    void edit();
    void remove();

protected:
    void confirm() override;

private:
    void updateButtons();

    std::string m_scratchFile;
    std::function<bool()> m_commit;
    QListWidget* m_list = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
};

/// Runs the measurement list on a scratch copy of \p workingMeasurementCopy
/// over \p owner, then deletes the scratch copy. 1 when the working copy was
/// replaced, otherwise 0.
int EditMeasurements(QWidget* owner, const std::string& workingMeasurementCopy);

/// The entry of \p list whose text equals \p name without regard to case,
/// \p skip left out; null when there is none.
QListWidgetItem* FindMeasurement(const QListWidget& list, const QString& name, const QListWidgetItem* skip);

/// Gives \p name its place in the sorted \p list, as the text of \p entry or,
/// when that is null, of a new entry, and selects it.
void PlaceMeasurement(QListWidget& list, const QString& name, QListWidgetItem* entry);

}  // namespace vexa::editors
