#pragma once

#include <QString>

namespace vexa::link {

/// The conversation errors the local data path reports, by their numbers.
enum DdeError : unsigned {
    kDdeNoError = 0,
    kDdeClientOnlyCommand = 0x0010,
    kDdeAdvAckTimeout = 0x4000,
    kDdeBusy = 0x4001,
    kDdeDataAckTimeout = 0x4002,
    kDdeDllNotInitialized = 0x4003,
    kDdeDllUsage = 0x4004,
    kDdeExecAckTimeout = 0x4005,
    kDdeInvalidParameter = 0x4006,
    kDdeLowMemory = 0x4007,
    kDdeMemoryError = 0x4008,
    kDdeNotProcessed = 0x4009,
    kDdeNoConversationEstablished = 0x400A,
    kDdePokeAckTimeout = 0x400B,
    kDdePostMessageFailed = 0x400C,
    kDdeReentrancy = 0x400D,
    kDdeServerDied = 0x400E,
    kDdeSysError = 0x400F,
    kDdeUnadvAckTimeout = 0x4010,
    kDdeUnfoundQueueId = 0x4011,
};

/// The name of error \p code, or an empty text when the code counts as no
/// error (0, a code not in the table, and "Not Processed", which only the
/// oldest desktop platforms reported as an error).
QString DdeErrorName(unsigned code);

}  // namespace vexa::link
