#pragma once

#include "app/printing/PrintSeam.h"

class QPainter;
class QWidget;

namespace vexa::app::printing {

/// The name every print job of the program carries.
inline constexpr const char* kDocumentName = "VEXA Display";

/// One printed document on a job: starts it, starts and ends its pages and
/// ends it, reporting each failure where it happens. A failed start of the
/// document or of a page ends the job; a failed end of a page is reported
/// and printing goes on.
class PrintSession {
public:
    PrintSession(PrintJob& job, QWidget* owner);

    /// Starts the document; false (after the message) when it could not.
    bool begin();
    /// Starts a page; false (after the message) when the job has to end.
    bool beginPage();
    void endPage();
    /// Ends the document; false (after the message) when that failed.
    bool end();
    /// Ends a job that failed, without another message.
    void abandon();

    QPainter& painter() { return m_job.painter(); }
    /// Pages started so far.
    int pages() const { return m_pages; }

private:
    PrintJob& m_job;
    QWidget* m_owner;
    int m_pages = 0;
};

}  // namespace vexa::app::printing
