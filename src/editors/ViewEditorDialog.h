#pragma once

#include "EditorDialog.h"

#include <string>

class QLineEdit;
class QListWidget;

namespace vexa::editors {

/// "Edit View": a view's title and the graphs that open with it, edited in
/// the scratch copy of the display file. The view is the one selected in the
/// owner's list, whose entry shows the saved title.
class ViewEditorDialog : public EditorDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Edit View";
    static constexpr const char* kTemplate = "EditView";
    static constexpr const char* kTitleFrameCaption = "View Title";
    static constexpr const char* kGraphsFrameCaption = "Selected Graphs";
    static constexpr const char* kGraphsText =
        "Select which graphs are to be associated with this view from the following list:";
    static constexpr int kTitleLength = 99;

    static constexpr const char* kIllegalTitleCaption = "Illegal View Title Entered";
    static constexpr const char* kEmptyTitleText = "Please enter a title for this view.";
    static constexpr const char* kTitleInUseText =
        "Please select another title for this view. This title is already in use by another view.";
    static constexpr const char* kNoGraphsText = "Please select one or more graphs to be associated with this view.";
    static constexpr const char* kNoGraphsCaption = "Unable To Save View Definition";

    ViewEditorDialog(QListWidget& owner, std::string scratchFile);

    QLineEdit* titleBox() const { return m_title; }
    QListWidget* graphList() const { return m_graphs; }

protected:
    void confirm() override;

private:
    /// Beeps and shows a failed check.
    void refuse(const char* text, const char* caption);
    void write(const std::string& title) const;

    QListWidget& m_owner;
    std::string m_scratchFile;
    /// The view's section, "V" and its number.
    std::string m_section;
    int m_index = -1;
    QLineEdit* m_title = nullptr;
    QListWidget* m_graphs = nullptr;
};

/// Runs "Edit View" over the view list \p owner on view number
/// owner.currentRow() + 1 of \p scratchDisplayFile. 1 when the view was saved,
/// otherwise 0.
int EditView(QListWidget& owner, const std::string& scratchDisplayFile);

}  // namespace vexa::editors
