#pragma once

#include "EditorDialog.h"

#include <functional>
#include <string>

class QListWidget;
class QPushButton;

namespace vexa::editors {

/// The two lists one dialog serves.
enum class DefinitionKind { Graphs, Views };

/// The list of graph or view definitions of the scratch copy of the display
/// file, in section order, with Add, Edit, Delete and Duplicate. Graphs are
/// edited in "Edit Graph", views in "Edit View".
class DefinitionListDialog : public EditorDialog {
    Q_OBJECT
public:
    static constexpr const char* kTemplate = "select";
    static constexpr const char* kGraphCaption = "Select Graph";
    static constexpr const char* kViewCaption = "Edit View";
    static constexpr const char* kGraphFrameCaption = "Defined Graphs";
    static constexpr const char* kViewFrameCaption = "Defined Views";
    static constexpr const char* kDeleteText = "Delete this entry?";
    static constexpr const char* kGraphDeleteCaption = "Delete Graph";
    static constexpr const char* kViewDeleteCaption = "Delete View";
    /// The object name of the list (its accessible name is the frame's caption).
    static constexpr const char* kListName = "Definitions";

    /// \p commit is called by Ok after a change; it hands the scratch copy
    /// back and says whether that worked. \p measurementFile is what the
    /// graph editor offers.
    DefinitionListDialog(QWidget* owner, DefinitionKind kind, std::string scratchFile,
                         std::string measurementFile, std::function<bool()> commit);

    QListWidget* list() const { return m_list; }
    /// The most entries the kind allows; 0 for no limit.
    int mostEntries() const;

    void add();
    void edit();
    void remove();
    void duplicate();

protected:
    void confirm() override;

private:
    char prefix() const;
    /// Runs the kind's editor on the current entry.
    int runEditor();
    void fill();
    void updateButtons();

    DefinitionKind m_kind;
    std::string m_scratchFile;
    std::string m_measurementFile;
    std::function<bool()> m_commit;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_duplicate = nullptr;
};

/// Run the graph or the view list on a scratch copy of
/// \p workingDisplayCopy over \p owner, then delete the scratch copy. 1 when
/// the working copy was replaced, otherwise 0.
int EditGraphDefinitions(QWidget* owner, const std::string& workingDisplayCopy,
                         const std::string& workingMeasurementCopy);
int EditViewDefinitions(QWidget* owner, const std::string& workingDisplayCopy);

}  // namespace vexa::editors
