#pragma once

#include <string>

class QListWidget;

namespace vexa::editors {

/// Runs "Edit Graph" modally over the graph list \p owner on graph number
/// owner.currentRow() + 1 of \p scratchDisplayFile, offering the measurements
/// of \p measurementFile. Returns 1 when the graph was saved, 0 otherwise.
/// On a saved title change the owner's current entry shows the new title.
int EditGraph(QListWidget& owner, const std::string& scratchDisplayFile,
              const std::string& measurementFile);

}  // namespace vexa::editors
