#include "HelpBrowser.h"

#include "HelpPage.h"

#include <QTextDocument>

namespace vexa::app {

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource) {
        if (const QByteArray page = FramedHelpPage(name); !page.isEmpty())
            return page;
    }
    return QTextBrowser::loadResource(type, name);
}

}  // namespace vexa::app
