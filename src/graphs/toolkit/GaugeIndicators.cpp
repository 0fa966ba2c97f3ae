#include "graphs/toolkit/GaugeIndicators.h"

namespace vexa::toolkit {

BarIndicator* CreateBarIndicator(ChartWindow&, ChartContext&, RealTimeDataset&, double, double, int, int, int, int,
                                 int, int, double, double, const QString&, const QString&, std::span<const QColor>,
                                 std::array<IndicatorPart, kBarParts>&)
{
    return nullptr;
}

Dial* CreateMeter(ChartWindow&, ChartContext&, RealTimeDataset&, int, double, double, double, double, double,
                  double, double, int, std::span<const int>, double, double, std::span<const int>, double,
                  const DialAlarmColours&)
{
    return nullptr;
}

Dial* CreateArcMeter(ChartWindow&, ChartContext&, RealTimeDataset&, int, double, double, double, double, double,
                     double, double, double, int, int, double, double, double, std::span<const int>, double,
                     const DialAlarmColours&)
{
    return nullptr;
}

Dial* CreatePieMeter(ChartWindow&, ChartContext&, RealTimeDataset&, int, double, double, double, double, double,
                     double, double, double, int, int, double, double, std::span<const int>, double,
                     const DialAlarmColours&)
{
    return nullptr;
}

}  // namespace vexa::toolkit
