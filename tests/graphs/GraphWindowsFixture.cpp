#include "GraphWindowsFixture.h"

#include "document/DocumentPaths.h"
#include "graphs/GraphWindow.h"
#include "graphs/toolkit/Toolkit.h"
#include "link/client/NameList.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QTest>

namespace vexa::graphs::test {

namespace {

constexpr QSize kFrameSize{1000, 760};
/// How long a chart may take to be painted for the first time; only an
/// upper bound, the wait ends as soon as it has.
constexpr int kChartWaitMs = 10000;

}  // namespace

const QByteArrayList kListedNames = {"P1", "P2", "T1"};

std::string GraphWindowsFixture::GraphDisplayFile()
{
    return "[W1]\r\nT=Pressures\r\nP=TimeHistory\r\nWC=Fixed\r\nUP=500\r\nM1=P1\r\nM2=P2\r\n"
           "[W2]\r\nT=Gapped\r\nP=FixedTabular\r\nM1=P1\r\nM3=T1\r\n"
           "[W3]\r\nT=Unlisted\r\nM1=p1\r\nM2=Nowhere\r\n"
           "[W4]\r\nT=Lonely Pair\r\nP=XYPlot\r\nM1=P1\r\n"
           "[W5]\r\nT=Crowded Pair\r\nP=XYPlot\r\nM1=P1\r\nM2=P2\r\nM3=T1\r\n"
           "[W6]\r\nT=Skipping\r\nP=TimeHistory\r\nWC=Isotropic\r\nUP=0\r\nM1=Missing\r\nM2=T1\r\n"
           "[W7]\r\nT=Table\r\nP=ScrollingTabular\r\nM1=T1\r\n"
           "[W8]\r\nT=Three\r\nWC=Sideways\r\nM1=T1\r\nM2=P2\r\nM3=P1\r\n"
           "[W9]\r\nT=XY\r\nP=XYPlot\r\nM1=P1\r\nM2=T1\r\n"
           "[W10]\r\nT=Bogus\r\nP=Pie\r\nM1=P1\r\n";
}

std::string GraphWindowsFixture::GraphMeasurementFile()
{
    return "[P1]\r\nL=0\r\nH=10\r\nU=bar\r\nD=Inlet pressure\r\nE=Coefficients\r\n0=1\r\n1=2\r\n"
           "[P2]\r\nL=-5\r\nH=5\r\nU=bar\r\n"
           "[T1]\r\nL=0\r\nH=100\r\nU=degC\r\nE=Coefficients\r\n0=-40\r\n1=1.8\r\n";
}

GraphWindowsFixture::GraphWindowsFixture()
    : m_recent(m_dir.path("VexaDisplay.ini")),
      m_document(m_documentHost, m_recent, [](const std::string&) { return true; }),
      m_link(m_linkHost, m_dir.path("VexaDisplay.ini"))
{
    const std::string display = m_dir.path("PLANT.DSP");
    vexa::test::WriteFileBytes(display, GraphDisplayFile());
    vexa::test::WriteFileBytes(MeasurementPathFor(display), GraphMeasurementFile());
    EXPECT_TRUE(m_document.load(nullptr, LoadMode::Open, display));

    link::LinkSettings offline;
    offline.source = link::kSourceNone;
    m_link.setSettings(offline);
    link::ResetNameList(m_link.layout(), m_document.measurementPath());
    listNames();

    m_frame = std::make_unique<QMainWindow>();
    m_area = new QMdiArea;
    m_frame->setCentralWidget(m_area);
    m_frame->resize(kFrameSize);
    m_frame->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
    m_windows = std::make_unique<GraphWindows>(*m_area, m_graphs, m_link, m_document, m_host);
}

GraphWindowsFixture::~GraphWindowsFixture()
{
    m_windows.reset();
    m_frame.reset();
    m_document.discardWorkingCopies();
}

GraphWindow& GraphWindowsFixture::open(int index, const Placement& placement)
{
    QMdiSubWindow* window = m_windows->CreateGraphWindow(index, placement);
    EXPECT_NE(window, nullptr) << "graph " << index << " was refused";
    if (window == nullptr)
        throw std::runtime_error("graph window refused");
    return *qobject_cast<GraphWindow*>(window);
}

void GraphWindowsFixture::listNames()
{
    for (int i = 0; i < kListedNames.size(); ++i)
        m_link.layout().setName(i, kListedNames[i]);
    m_link.layout().setCount(static_cast<std::int32_t>(kListedNames.size()));
}

bool GraphWindowsFixture::waitForChart(const GraphWindow& window)
{
    return QTest::qWaitFor([&] { return toolkit::ChartReady(window.resources().chartWindow); }, kChartWaitMs);
}

void GraphWindowsFixture::runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace vexa::graphs::test
