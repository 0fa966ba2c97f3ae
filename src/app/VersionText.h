#pragma once

#include <QByteArray>
#include <QString>

namespace vexa::app {

/// The version part of the banner's first text.
inline constexpr const char* kVersionHeading = "VEXA\nVersion 3.08 - March 2001\n";

/// The banner's first text: the version heading, then the licence lines the
/// program keeps scrambled, ending with a line end. The banner adds the
/// maker's contact lines itself.
QString VersionText();

/// The banner's second text: one line of legal notice.
QString NoticeLine();

/// Undoes the scrambling of the stored text: every byte complemented.
QByteArray Unscramble(const QByteArray& scrambled);

}  // namespace vexa::app
