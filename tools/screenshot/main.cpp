// vexa-screenshot <file.png>: grabs the whole screen of the display it runs
// on (the X screen under Xvfb) and saves it as a PNG image.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kExitSaved = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
/// grabWindow() with this window identifier grabs the whole screen.
constexpr WId kWholeScreen = 0;
constexpr const char* kImageFormat = "PNG";

int Fail(const QString& message, int status)
{
    std::fprintf(stderr, "vexa-screenshot: %s\n", qPrintable(message));
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    if (arguments.size() != 1 || arguments.front().isEmpty())
        return Fail(QStringLiteral("usage: vexa-screenshot <file.png>"), kExitUsage);
    const QString& path = arguments.front();

    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return Fail(QStringLiteral("no screen to grab"), kExitFailed);
    const QPixmap picture = screen->grabWindow(kWholeScreen);
    if (picture.isNull())
        return Fail(QStringLiteral("could not grab the screen of %1").arg(QGuiApplication::platformName()),
                    kExitFailed);
    if (!picture.save(path, kImageFormat))
        return Fail(QStringLiteral("could not write %1").arg(path), kExitFailed);
    std::printf("vexa-screenshot: saved %dx%d pixels to %s\n", picture.width(), picture.height(),
                qPrintable(path));
    return kExitSaved;
}
