#include "graphs/toolkit/StaticDataset.h"

#include <algorithm>

namespace vexa::toolkit {

StaticDataset::StaticDataset(std::span<const double> x, std::span<const double> y)
{
    const std::size_t count = std::min(x.size(), y.size());
    m_x.assign(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(count));
    m_y.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(count));
}

int StaticDataset::size() const
{
    return static_cast<int>(m_x.size());
}

std::span<const double> StaticDataset::xValues() const
{
    return m_x;
}

std::span<const double> StaticDataset::yValues() const
{
    return m_y;
}

std::weak_ptr<const int> StaticDataset::lifetime() const
{
    return m_lifetime;
}

}  // namespace vexa::toolkit
