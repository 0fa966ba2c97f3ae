#include "link/protocol/DataSample.h"

#include "link/protocol/WireFormat.h"

#include <algorithm>
#include <cstring>

namespace vexa::link {

namespace {
constexpr int kTimeBytes = 8;
constexpr int kValueBytes = 8;
}  // namespace

DataSample::DataSample(int capacity)
    : m_capacity(std::max(capacity, 0)), m_bytes(size_t(SampleBytesFor(m_capacity)), '\0')
{
}

void DataSample::clear()
{
    std::fill(m_bytes.begin(), m_bytes.end(), '\0');
}

double DataSample::timeOfDay() const
{
    return ReadDouble(m_bytes.data());
}

void DataSample::setTimeOfDay(double seconds)
{
    WriteDouble(m_bytes.data(), seconds);
}

double DataSample::value(int index) const
{
    if (index < 0 || index >= m_capacity) {
        return 0.0;
    }
    return ReadDouble(m_bytes.data() + kTimeBytes + index * kValueBytes);
}

void DataSample::setValue(int index, double value)
{
    if (index < 0 || index >= m_capacity) {
        return;
    }
    WriteDouble(m_bytes.data() + kTimeBytes + index * kValueBytes, value);
}

QByteArray DataSample::wireBytes(int count) const
{
    return QByteArray(m_bytes.data(), SampleBytesFor(std::clamp(count, 0, m_capacity)));
}

void DataSample::fill(const char* bytes, qint64 length)
{
    const size_t taken = size_t(std::clamp<qint64>(length, 0, qint64(m_bytes.size())));
    if (taken > 0) {
        std::memcpy(m_bytes.data(), bytes, taken);
    }
}

}  // namespace vexa::link
