#pragma once

#include "app/printing/OutputPages.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMdiArea;
class QPrinter;
class QWidget;

namespace vexa::graphs {
class GraphWindow;
class GraphWindows;
}  // namespace vexa::graphs

namespace vexa::app::printing {

/// The page commands of the File and Edit menus: printer setup, printing
/// the active graph's pages or every open graph's, the printing options,
/// the active page's attributes, and writing pages to files. Each acts on
/// the graph windows as they are when it runs; none changes the document.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    /// \p displayFile names the open display file for the header line.
    PrintCommands(QWidget& owner, QMdiArea& mdi, graphs::GraphWindows& windows, std::string settingsFile,
                  std::function<QString()> displayFile);
    ~PrintCommands() override;

    void printerSetup();
    void printCurrentPage();
    void printAllPages();
    void printingOptions();
    void graphAttributes();
    void exportPage();
    void exportAllPages();

private:
    /// The active graph window's graph, graph 1 when none matches; null
    /// when that graph is not open.
    graphs::GraphWindow* activeGraph() const;
    /// Every open graph's pages in graph-number order.
    std::vector<OutputPage> allPages(bool withHistory) const;
    /// Prints \p pages as one document after the print dialog.
    void print(std::vector<OutputPage> pages);
    /// Asks for a file name and writes \p pages to it.
    void exportPages(std::vector<OutputPage> pages, const QString& title);

    QWidget& m_owner;
    QMdiArea& m_mdi;
    graphs::GraphWindows& m_windows;
    std::string m_settingsFile;
    std::function<QString()> m_displayFile;
    std::unique_ptr<QPrinter> m_printer;
    QString m_lastExport;
};

}  // namespace vexa::app::printing
