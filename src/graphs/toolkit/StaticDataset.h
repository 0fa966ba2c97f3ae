#pragma once

#include <memory>
#include <span>
#include <vector>

namespace vexa::toolkit {

/// A fixed set of points (x, y) that PlotLine draws: a copy, so the values
/// it was made from may go.
class StaticDataset {
public:
    /// The points (x[i], y[i]) that both spans have.
    StaticDataset(std::span<const double> x, std::span<const double> y);

    int size() const;
    std::span<const double> xValues() const;
    std::span<const double> yValues() const;
    /// Expires when the dataset is destroyed (see RealTimeDataset::lifetime).
    std::weak_ptr<const int> lifetime() const;

    StaticDataset(const StaticDataset&) = delete;
    StaticDataset& operator=(const StaticDataset&) = delete;

private:
    std::vector<double> m_x;
    std::vector<double> m_y;
    std::shared_ptr<const int> m_lifetime = std::make_shared<const int>(0);
};

}  // namespace vexa::toolkit
