#pragma once

#include <QDateTime>
#include <QString>

#include <string>

class QPrinter;
class QWidget;

namespace vexa::app::printing {

/// How pages go to paper, kept in the settings file: orientation, margins,
/// colour or black and white, and what the line above each chart page says.
struct PrintingOptions {
    static constexpr int kDefaultMarginMm = 15;
    static constexpr int kMaxMarginMm = 50;

    bool landscape = true;
    int marginMm = kDefaultMarginMm;
    bool colour = true;
    bool headerTitle = true;
    bool headerFile = false;
    bool headerTime = true;

    bool operator==(const PrintingOptions&) const = default;
};

/// The options in \p settingsFile (defaults for what it lacks).
PrintingOptions LoadPrintingOptions(const std::string& settingsFile);
void SavePrintingOptions(const PrintingOptions& options, const std::string& settingsFile);

/// Sets \p printer's orientation, margins and colour mode from \p options.
void ApplyPrintingOptions(const PrintingOptions& options, QPrinter& printer);

/// The line above a chart page: the parts \p options ask for, in the order
/// title, display file, date and time; empty when none is asked for.
QString HeaderLine(const PrintingOptions& options, const QString& title, const QString& displayFile,
                   const QDateTime& when);

/// The "Printing Options" dialog over \p owner; true (with \p options
/// changed) when the user chose OK.
bool EditPrintingOptions(QWidget* owner, PrintingOptions& options);

}  // namespace vexa::app::printing
