#include "PrintSession.h"

#include "app/printing/PrintMessages.h"

namespace vexa::app::printing {

PrintSession::PrintSession(PrintJob& job, QWidget* owner) : m_job(job), m_owner(owner) {}

bool PrintSession::begin()
{
    if (m_job.startDoc(QString::fromLatin1(kDocumentName)))
        return true;
    ReportJobError(m_owner, kStartDocText);
    return false;
}

bool PrintSession::beginPage()
{
    if (!m_job.startPage()) {
        ReportJobError(m_owner, kStartPageText);
        return false;
    }
    ++m_pages;
    return true;
}

void PrintSession::endPage()
{
    if (const EndPageResult result = m_job.endPage(); static_cast<int>(result) < 0)
        ReportEndPage(result);
}

bool PrintSession::end()
{
    if (m_job.endDoc())
        return true;
    ReportJobError(m_owner, kEndDocText, false);
    return false;
}

void PrintSession::abandon()
{
    m_job.endDoc();
}

}  // namespace vexa::app::printing
