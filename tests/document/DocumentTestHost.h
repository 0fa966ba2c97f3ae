#pragma once

#include "document/DocumentHost.h"

#include <string>
#include <vector>

namespace vexa::test {

/// Records what a document asked of the program around it, in order.
class RecordingHost : public DocumentHost {
public:
    std::vector<std::string> calls;

    void rebuildPopups() override { calls.push_back("rebuildPopups"); }
    void refreshFileCommands() override { calls.push_back("refreshFileCommands"); }
    void resetNameList(const std::string& measurementPath) override
    {
        calls.push_back("resetNameList " + measurementPath);
    }
    void closeAllGraphWindows() override { calls.push_back("closeAllGraphWindows"); }
};

}  // namespace vexa::test
