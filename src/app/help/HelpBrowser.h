#pragma once

#include <QTextBrowser>

namespace vexa::app {

/// The browser of the help window and of its pop-ups: it shows the help pages
/// in their frame (see HelpPage.h), and anything else as a text browser does.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent);

    QVariant loadResource(int type, const QUrl& name) override;
};

}  // namespace vexa::app
