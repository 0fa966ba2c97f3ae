#include "GraphEditor.h"

#include "GraphEditorDialog.h"

#include "platform/DialogConventions.h"

#include <QListWidget>

namespace vexa::editors {

int EditGraph(QListWidget& owner, const std::string& scratchDisplayFile, const std::string& measurementFile)
{
    if (owner.currentRow() < 0)
        return 0;
    GraphEditorDialog dialog(owner, scratchDisplayFile, measurementFile);
    const int result = dialog.exec();
    // exec() refuses with -1 when the dialog cannot run its own loop.
    if (result < 0) {
        ReportDialogFailure(&owner);
        return 0;
    }
    return result == 1 ? 1 : 0;
}

}  // namespace vexa::editors
