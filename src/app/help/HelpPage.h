#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

/// The help pages are kept as their bodies alone, each opening with its
/// heading. They are shown in the one frame beside them (frame.html.in),
/// which gives every page the same head: its title, the text of its heading,
/// and the stylesheet.
namespace vexa::app {

/// The body of the page at \p page (a help URL) as it is kept; empty when
/// there is no such page.
QString HelpPageBody(const QUrl& page);

/// The title of the page at \p page: the text of its first heading.
QString HelpPageTitle(const QUrl& page);

/// The page at \p page whole, its body in the frame, as UTF-8; empty when
/// there is no such page.
QByteArray FramedHelpPage(const QUrl& page);

}  // namespace vexa::app
