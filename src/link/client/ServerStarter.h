#pragma once

#include "link/client/LinkSettings.h"

#include <QString>
#include <QtGlobal>

class QWidget;

namespace vexa::link {

/// The server program's name.
inline constexpr const char* kServerProgram = "vexalink";
/// How long a start waits for the server to come up.
inline constexpr int kServerStartWaitMs = 5000;

/// True when the data source is the local path, or Ethernet to "localhost"
/// in any letter case.
bool IsServerStartWanted(const LinkSettings& settings);

/// True while a server holds its presence marker.
bool IsServerRunning();

/// The server program to start: the one beside the running program, else
/// the first on PATH; empty when there is none.
QString ServerProgramPath();

/// What StartServerIfNeeded() did.
enum class ServerStart { NotWanted, AlreadyRunning, Started, Failed };

/// Starts the server, minimised and detached, when \p startChecked, the data
/// source wants a local server and none runs; then waits up to
/// kServerStartWaitMs for it to come up. A server that cannot be started is
/// reported ("Error Starting Application"). The started server's process
/// id goes to \p startedPid when given.
ServerStart StartServerIfNeeded(QWidget* owner, bool startChecked, const LinkSettings& settings,
                                qint64* startedPid = nullptr);

}  // namespace vexa::link
