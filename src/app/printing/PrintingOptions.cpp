#include "PrintingOptions.h"

#include "document/ProfileStore.h"
#include "link/client/LinkSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QSpinBox>

namespace vexa::app::printing {

namespace {

/// The display program's settings share the data source's section.
constexpr const char* kSection = link::kLinkSection;
constexpr const char* kLandscapeKey = "PrintLandscape";
constexpr const char* kMarginKey = "PrintMarginMm";
constexpr const char* kColourKey = "PrintColour";
constexpr const char* kHeaderTitleKey = "PrintHeaderTitle";
constexpr const char* kHeaderFileKey = "PrintHeaderFile";
constexpr const char* kHeaderTimeKey = "PrintHeaderTime";
constexpr QLatin1StringView kHeaderSeparator{"    "};
constexpr QLatin1StringView kTimeFormat{"yyyy-MM-dd hh:mm:ss"};

bool ReadFlag(const char* key, bool fallback, const std::string& file)
{
    return profile::ReadInt(kSection, key, fallback ? 1 : 0, file) != 0;
}

void WriteFlag(const char* key, bool value, const std::string& file)
{
    profile::WriteString(kSection, key, value ? "1" : "0", file);
}

}  // namespace

PrintingOptions LoadPrintingOptions(const std::string& settingsFile)
{
    const PrintingOptions defaults;
    PrintingOptions options;
    options.landscape = ReadFlag(kLandscapeKey, defaults.landscape, settingsFile);
    options.marginMm = std::clamp(profile::ReadInt(kSection, kMarginKey, defaults.marginMm, settingsFile), 0,
                                  PrintingOptions::kMaxMarginMm);
    options.colour = ReadFlag(kColourKey, defaults.colour, settingsFile);
    options.headerTitle = ReadFlag(kHeaderTitleKey, defaults.headerTitle, settingsFile);
    options.headerFile = ReadFlag(kHeaderFileKey, defaults.headerFile, settingsFile);
    options.headerTime = ReadFlag(kHeaderTimeKey, defaults.headerTime, settingsFile);
    return options;
}

void SavePrintingOptions(const PrintingOptions& options, const std::string& settingsFile)
{
    WriteFlag(kLandscapeKey, options.landscape, settingsFile);
    profile::WriteString(kSection, kMarginKey, std::to_string(options.marginMm), settingsFile);
    WriteFlag(kColourKey, options.colour, settingsFile);
    WriteFlag(kHeaderTitleKey, options.headerTitle, settingsFile);
    WriteFlag(kHeaderFileKey, options.headerFile, settingsFile);
    WriteFlag(kHeaderTimeKey, options.headerTime, settingsFile);
}

void ApplyPrintingOptions(const PrintingOptions& options, QPrinter& printer)
{
    printer.setPageOrientation(options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const qreal margin = options.marginMm;
    printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    printer.setColorMode(options.colour ? QPrinter::Color : QPrinter::GrayScale);
}

QString HeaderLine(const PrintingOptions& options, const QString& title, const QString& displayFile,
                   const QDateTime& when)
{
    QStringList parts;
    if (options.headerTitle)
        parts << title;
    if (options.headerFile && !displayFile.isEmpty())
        parts << QFileInfo(displayFile).fileName();
    if (options.headerTime)
        parts << when.toString(kTimeFormat);
    return parts.join(kHeaderSeparator);
}

bool EditPrintingOptions(QWidget* owner, PrintingOptions& options)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Printing Options"));
    auto* form = new QFormLayout(&dialog);

    auto* orientation = new QComboBox(&dialog);
    orientation->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    orientation->setCurrentIndex(options.landscape ? 1 : 0);
    form->addRow(QStringLiteral("&Orientation:"), orientation);

    auto* margins = new QSpinBox(&dialog);
    margins->setRange(0, PrintingOptions::kMaxMarginMm);
    margins->setSuffix(QStringLiteral(" mm"));
    margins->setValue(options.marginMm);
    form->addRow(QStringLiteral("&Margins:"), margins);

    auto* colour = new QComboBox(&dialog);
    colour->addItems({QStringLiteral("Black and white"), QStringLiteral("Colour")});
    colour->setCurrentIndex(options.colour ? 1 : 0);
    form->addRow(QStringLiteral("&Colours:"), colour);

    auto* title = new QCheckBox(QStringLiteral("Graph &title"), &dialog);
    title->setChecked(options.headerTitle);
    auto* file = new QCheckBox(QStringLiteral("Display &file"), &dialog);
    file->setChecked(options.headerFile);
    auto* time = new QCheckBox(QStringLiteral("&Date and time"), &dialog);
    time->setChecked(options.headerTime);
    form->addRow(QStringLiteral("Header line:"), title);
    form->addRow(QString(), file);
    form->addRow(QString(), time);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return false;
    options.landscape = orientation->currentIndex() == 1;
    options.marginMm = margins->value();
    options.colour = colour->currentIndex() == 1;
    options.headerTitle = title->isChecked();
    options.headerFile = file->isChecked();
    options.headerTime = time->isChecked();
    return true;
}

}  // namespace vexa::app::printing
