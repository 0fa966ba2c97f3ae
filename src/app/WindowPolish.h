#pragma once

#include <QObject>

class QDialog;
class QIcon;
class QMessageBox;
class QWidget;

namespace vexa::app {

/// Widens every dialog that is narrower than its caption, as it is shown, so
/// that a window manager draws the caption whole. It watches the whole
/// program once installed.
class CaptionWidthGuard : public QObject {
    Q_OBJECT
public:
    explicit CaptionWidthGuard(QObject* parent = nullptr) : QObject(parent) {}

    /// The width a window needs for its caption \p title beside the icon and
    /// the buttons of its title bar.
    static int CaptionWidth(const QWidget& window);
    /// Makes \p dialog at least CaptionWidth() wide.
    static void Widen(QDialog& dialog);
    /// The same for a message box, which keeps a fixed size of its own.
    static void WidenMessageBox(QMessageBox& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/// What every window of the display program looks like alike: the program's
/// icon on every window that has none of its own, and dialogs as wide as
/// their captions. Called once at start-up.
void InstallWindowPolish(const QIcon& icon);

}  // namespace vexa::app
