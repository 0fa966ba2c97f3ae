#include "DdeErrors.h"

namespace vexa::link {

QString DdeErrorName(unsigned code)
{
    switch (code) {
    case kDdeClientOnlyCommand:
        return QStringLiteral("Client Only Command");
    case kDdeAdvAckTimeout:
        return QStringLiteral("ADV Acknowledge Timeout");
    case kDdeBusy:
        return QStringLiteral("Busy");
    case kDdeDataAckTimeout:
        return QStringLiteral("Data Acknowledge Timeout");
    case kDdeDllNotInitialized:
        return QStringLiteral("DLL Not Initialized");
    case kDdeDllUsage:
        return QStringLiteral("DLL Usage");
    case kDdeExecAckTimeout:
        return QStringLiteral("Exec Acknowledge Timeout");
    case kDdeInvalidParameter:
        return QStringLiteral("DDE Connection no longer valid, or invalid parameter passed to DDE");
    case kDdeLowMemory:
        return QStringLiteral("Low Memory");
    case kDdeMemoryError:
        return QStringLiteral("Memory Error");
    case kDdeNoConversationEstablished:
        return QStringLiteral("No Conversation Established");
    case kDdePokeAckTimeout:
        return QStringLiteral("Poke Acknowledge Timeout");
    case kDdePostMessageFailed:
        return QStringLiteral("Post Message Failed");
    case kDdeReentrancy:
        return QStringLiteral("Reentrancy Error");
    case kDdeServerDied:
        return QStringLiteral("Server Died");
    case kDdeSysError:
        return QStringLiteral("Sys Error");
    case kDdeUnadvAckTimeout:
        return QStringLiteral("UNADVACKTimeout");
    case kDdeUnfoundQueueId:
        return QStringLiteral("Unfound Queue ID");
    case kDdeNotProcessed:
        // A transaction the server did not process is an error only on the
        // oldest desktop platforms; here it counts as none.
    default:
        return {};
    }
}

}  // namespace vexa::link
