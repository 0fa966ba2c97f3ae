#pragma once

#include <QString>

class QWidget;

namespace vexa::link {

/// What the data link asks of the window around it: an owner for its
/// message boxes, the status bar's connection and time fields, and the
/// "Re-Connect To Data Server" command. The frame implements it.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    /// The owner of the link's message boxes.
    virtual QWidget* linkWindow() = 0;
    /// Status bar part 1: the connection state; empty when disconnected.
    virtual void showConnection(const QString& text) = 0;
    /// Status bar part 2: the time of the last sample.
    virtual void showSampleTime(const QString& text) = 0;
    /// Enables or grays "Re-Connect To Data Server".
    virtual void enableReconnect(bool enabled) = 0;
};

}  // namespace vexa::link
