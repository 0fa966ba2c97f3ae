#pragma once

#include <QDialog>
#include <QStringList>

#include <string>

class QListWidget;
class QListWidgetItem;
class QMdiArea;
class QPushButton;

namespace vexa::app {

/// "More Windows": the selection of a graph or a view that the popups have
/// no room for. It lists the graphs without an open window (for the graphs'
/// "More...") or every view (for the views' "More..."), and ends with the
/// 0-based index of the chosen definition, or kNone.
class MoreWindowsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNone = -1;
    static constexpr const char* kGraphCaption = "Select Desired Graph";
    static constexpr const char* kViewCaption = "Select Desired View";
    /// Object names of the controls.
    static constexpr const char* kListName = "205";
    static constexpr const char* kOkName = "Ok";
    static constexpr const char* kCancelName = "Cancel";
    static constexpr const char* kHelpName = "Help";

    /// The selection for \p command (the graphs' or the views' "More...")
    /// from \p displayFile. \p openCaptions are the captions of the open MDI
    /// children, whose graphs are not offered.
    MoreWindowsDialog(QWidget* owner, int command, std::string displayFile, const QStringList& openCaptions);

    /// The chosen definition's index once the dialog has ended; kNone when
    /// nothing was chosen.
    int chosenIndex() const { return m_chosen; }

    QListWidget* list() const { return m_list; }

private:
    /// Ok: chooseEntry() with the selected entry.
    void choose();
    /// Ends with the definition \p entry names, with none when there is no
    /// entry, and stays open when its text is no definition's exact title.
    /// A double-click chooses the entry it hit.
    void chooseEntry(const QListWidgetItem* entry);
    void showHelp();
    /// The 0-based index of the definition titled exactly \p title, or kNone.
    int indexOfTitle(const std::string& title) const;

    bool m_graphs = true;
    std::string m_displayFile;
    QListWidget* m_list = nullptr;
    int m_chosen = kNone;
};

/// Runs the selection for \p command over \p owner, with the open children
/// of \p area left out. The chosen index, or kNone when nothing was chosen
/// or the dialog could not be shown (which is reported).
int ChooseMoreWindows(QWidget* owner, int command, const std::string& displayFile, const QMdiArea& area);

}  // namespace vexa::app
