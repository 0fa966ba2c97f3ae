#include "graphs/toolkit/StaticDataset.h"

namespace vexa::toolkit {

StaticDataset::StaticDataset(const double* x, const double* y, int count)
{
    if (x == nullptr || y == nullptr || count <= 0) {
        return;
    }
    m_x.assign(x, x + count);
    m_y.assign(y, y + count);
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
