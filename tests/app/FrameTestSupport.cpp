#include "FrameTestSupport.h"

#include "document/DocumentPaths.h"
#include "link/protocol/WireFormat.h"
#include "platform/PresenceMarker.h"
#include "platform/SettingsLocation.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>

namespace vexa::test {

namespace {

/// How long a stopped server may take to let its marker go.
constexpr int kStopWaitMs = 5000;
constexpr int kStopPollMs = 20;

}  // namespace

std::string PlantDisplayFile()
{
    return "[W1]\r\nT=Pressures\r\nGT=Time History\r\nUP=500\r\nM1=P1\r\nM2=P2\r\n"
           "[W2]\r\nT=Temperatures\r\nGT=Time History\r\nM1=T1\r\nM2=T2\r\nM3=T3\r\n"
           "[W3]\r\nT=Flow\r\nGT=Time History\r\nM1=F1\r\n"
           "[W4]\r\nT=Spare\r\nGT=Time History\r\nM1=P1\r\n"
           "[V1]\r\nT=Main\r\nW1=Pressures\r\nW2=Flow\r\n"
           "[V2]\r\nT=Heat\r\nW1=Temperatures\r\n";
}

std::string PlantMeasurementFile()
{
    return "[P1]\r\nMIN=0\r\nMAX=10\r\n[P2]\r\nMIN=0\r\nMAX=10\r\n[T1]\r\n[T2]\r\n[T3]\r\n[F1]\r\n";
}

std::string WritePlant(const ScratchDir& dir, const std::string& name)
{
    const std::string display = dir.path(name);
    WriteFileBytes(display, PlantDisplayFile());
    WriteFileBytes(MeasurementPathFor(display), PlantMeasurementFile());
    return display;
}

void WriteSettings(const std::string& contents)
{
    WriteFileBytes(SettingsFilePath(), contents);
}

std::string OfflineSettings()
{
    return "[VEXA Display]\r\nDataSource=251\r\nStartServer=0\r\n";
}

std::unique_ptr<app::FrameWindow> StartFrame(const QString& commandLine)
{
    auto frame = std::make_unique<app::FrameWindow>(SettingsFilePath(), app::FrameWindow::LoadIcon());
    frame->start(commandLine);
    return frame;
}

QStringList ItemTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* item : menu.actions())
        texts << (item->isSeparator() ? QString() : item->text());
    return texts;
}

ServerOnPath::ServerOnPath() : m_saved(qgetenv("PATH"))
{
    const QByteArray directory = QFileInfo(QStringLiteral(VEXALINK_PATH)).absolutePath().toLocal8Bit();
    qputenv("PATH", directory + ":" + m_saved);
}

ServerOnPath::~ServerOnPath()
{
    qputenv("PATH", m_saved);
}

void StopRunningServer()
{
    const QString title = link::kServerWindowTitle;
    if (!PresenceMarker::IsHeld(title))
        return;
    // The holder writes its process number into the marker.
    QFile marker(PresenceMarker::MarkerPath(title));
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    const pid_t holder = marker.readAll().trimmed().toInt();
    ASSERT_GT(holder, 0);
    ::kill(holder, SIGTERM);
    for (int waited = 0; waited < kStopWaitMs && PresenceMarker::IsHeld(title); waited += kStopPollMs)
        ::poll(nullptr, 0, kStopPollMs);
    EXPECT_FALSE(PresenceMarker::IsHeld(title));
}

}  // namespace vexa::test
