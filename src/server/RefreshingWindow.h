#pragma once

#include <QTimer>
#include <QWidget>

namespace vexa::server {

/// A window of the server's own beside its main window, which brings what
/// it shows up to date once a second while it is shown, and not at all
/// while it is hidden.
class RefreshingWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;

    /// Brings the window's contents up to date.
    virtual void Refresh() = 0;

protected:
    /// A window titled \p title, owned by \p owner and kept apart from it.
    RefreshingWindow(const QString& title, QWidget* owner);

    /// Refreshes every \p milliseconds rather than every second.
    void setRefreshInterval(int milliseconds) { m_refresh.setInterval(milliseconds); }
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer m_refresh;
};

}  // namespace vexa::server
