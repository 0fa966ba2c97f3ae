#pragma once

#include "app/FrameWindow.h"
#include "support/TestSupport.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

namespace vexa::test {

/// A display file with four graphs and two views, and its measurement file:
/// "Pressures" (P1, P2) and "Temperatures" (T1, T2, T3), "Flow" (F1) and
/// "Spare" (P1); views "Main" (Pressures, Flow) and "Heat" (Temperatures).
std::string PlantDisplayFile();
std::string PlantMeasurementFile();

/// Writes the plant files as \p name (".dsp" included) and its ".mvx" into
/// \p dir; the display file's path.
std::string WritePlant(const ScratchDir& dir, const std::string& name);

/// Replaces the settings file with \p contents.
void WriteSettings(const std::string& contents);
/// Settings that keep the frame offline and start no server.
std::string OfflineSettings();

/// A frame on the test's settings file, started with \p commandLine.
std::unique_ptr<app::FrameWindow> StartFrame(const QString& commandLine = {});

/// The texts of a menu's items, "" for a separator.
QStringList ItemTexts(const QMenu& menu);

/// Puts the directory of the built vexalink first on PATH while it lives.
class ServerOnPath {
public:
    ServerOnPath();
    ~ServerOnPath();
    ServerOnPath(const ServerOnPath&) = delete;
    ServerOnPath& operator=(const ServerOnPath&) = delete;

private:
    QByteArray m_saved;
};

/// Ends the server that holds the presence marker, if one does, and waits
/// until the marker is free.
void StopRunningServer();

}  // namespace vexa::test
