#include "editors/graph/GraphEditor.h"

namespace vexa::editors {

// Stands in for the graph editor until it is linked: no graph is saved.
int EditGraph(QListWidget&, const std::string&, const std::string&)
{
    return 0;
}

}  // namespace vexa::editors
