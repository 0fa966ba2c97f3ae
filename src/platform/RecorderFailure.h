#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdlib>

namespace vexa {

/// What the test recorders do with an unscripted call when the test gave
/// them no reporter of its own: say what was asked and stop the program.
[[noreturn]] inline void PrintAndAbort(const QString& what)
{
    qCritical("%s", qPrintable(what));
    std::abort();
}

}  // namespace vexa
