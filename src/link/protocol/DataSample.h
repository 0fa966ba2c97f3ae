#pragma once

#include <QByteArray>

#include <vector>

namespace vexa::link {

/// The data sample: the time of day and one raw value per layout name. Each
/// program keeps one of its own capacity; 8 + 8 x count bytes travel.
class DataSample {
public:
    /// A zeroed sample with room for \p capacity values.
    explicit DataSample(int capacity);

    int capacity() const { return m_capacity; }
    int size() const { return int(m_bytes.size()); }
    const char* data() const { return m_bytes.data(); }

    void clear();

    double timeOfDay() const;
    void setTimeOfDay(double seconds);

    /// Value \p index; 0 outside the sample.
    double value(int index) const;
    /// Sets value \p index; ignored outside the sample.
    void setValue(int index, double value);

    /// The bytes that answer a request while \p count names are in force,
    /// the count held to the sample's capacity.
    QByteArray wireBytes(int count) const;

    /// Copies the first \p length received bytes over the sample from its
    /// start, at most the sample's size; the bytes beyond keep their contents.
    void fill(const char* bytes, qint64 length);

private:
    int m_capacity;
    std::vector<char> m_bytes;
};

}  // namespace vexa::link
