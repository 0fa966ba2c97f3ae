#pragma once

#include <QString>

namespace vexa::server {

/// Where the server writes every event. Each "\n" of a text starts a new
/// entry, so a listing of n lines is n entries.
class ServerLog {
public:
    virtual ~ServerLog() = default;
    /// Appends \p text, one entry per line, and scrolls to it.
    virtual void LogLine(const QString& text) = 0;
};

}  // namespace vexa::server
