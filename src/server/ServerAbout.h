#pragma once

class QIcon;
class QWidget;

namespace vexa::server {

/// Shows the server's About banner over \p owner with \p icon, modal: it
/// returns once the banner has closed. Nothing when a banner is already up.
void ShowServerAbout(QWidget* owner, const QIcon& icon);

}  // namespace vexa::server
