#pragma once

#include <QByteArray>

#include <optional>

namespace vexa::test {

/// Sets or unsets one environment variable for the life of the object and
/// puts the old value back afterwards, so that tests leave no trace.
class ScopedEnvironment {
public:
    /// Sets \p name to \p value, or unsets it when \p value is nullopt.
    ScopedEnvironment(const char* name, const std::optional<QByteArray>& value);
    ~ScopedEnvironment();

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_saved;
};

}  // namespace vexa::test
