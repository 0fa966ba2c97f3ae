#include "ScopedEnvironment.h"

#include <QtGlobal>

namespace vexa::test {

namespace {

void Apply(const char* name, const std::optional<QByteArray>& value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<QByteArray>& value)
    : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_saved = qgetenv(name);
    Apply(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    Apply(m_name, m_saved);
}

}  // namespace vexa::test
