#include "graphs/toolkit/ValueIndicators.h"

namespace vexa::toolkit {

XYPlot* CreateXYPlot(ChartWindow&, ChartContext&, RealTimeDataset&, int, int, std::span<const int>,
                     std::span<const int>)
{
    return nullptr;
}

ValueTable* CreateValueTable(ChartWindow&, ChartContext&, RealTimeDataset&, int, int, std::span<const int>,
                             const std::vector<std::string>&, std::span<const int>,
                             std::array<IndicatorPart, kValueTableParts>&)
{
    return nullptr;
}

Annunciator* CreateAnnunciator(ChartWindow&, ChartContext&, RealTimeDataset&, int, int, int, std::span<const int>,
                               std::span<const QColor>, const QColor&, const QColor&, int, int,
                               std::span<const int>, int)
{
    return nullptr;
}

}  // namespace vexa::toolkit
