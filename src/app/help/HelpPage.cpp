#include "HelpPage.h"

#include "HelpTopics.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace vexa::app {

namespace {

/// The frame, beside the pages: %1 stands for the title, %2 for the body.
constexpr const char* kFrameFile = "frame.html.in";

QString ReadResource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString TitleOf(const QString& body)
{
    static const QRegularExpression heading(QStringLiteral(R"(<h([1-6])[^>]*>(.*?)</h\1>)"),
                                            QRegularExpression::DotMatchesEverythingOption
                                                | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch first = heading.match(body);
    return first.hasMatch() ? QTextDocumentFragment::fromHtml(first.captured(2)).toPlainText().simplified()
                            : QString();
}

}  // namespace

QString HelpPageBody(const QUrl& page)
{
    return ReadResource(HelpResourcePath(page));
}

QString HelpPageTitle(const QUrl& page)
{
    return TitleOf(HelpPageBody(page));
}

QByteArray FramedHelpPage(const QUrl& page)
{
    const QString body = HelpPageBody(page);
    if (body.isEmpty())
        return {};
    static const QString frame = ReadResource(HelpResourcePath(HelpContentsUrl().resolved(QUrl(kFrameFile))));
    return frame.arg(TitleOf(body).toHtmlEscaped(), body).toUtf8();
}

}  // namespace vexa::app
