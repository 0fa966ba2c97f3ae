#include "EngineTestSupport.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/WireFormat.h"
#include "server/engine/SampleEngine.h"

namespace vexa::server::test {

void RecordingLog::LogLine(const QString& text)
{
    calls.append(text);
    entries.append(text.split(QLatin1Char('\n')));
}

void RecordingLog::clear()
{
    calls.clear();
    entries.clear();
}

QByteArray LayoutMessage(const QByteArray& path, const std::vector<QByteArray>& names)
{
    link::LayoutBlock block(link::kServerLayoutNames);
    block.setPath(path);
    block.setCount(int(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        block.setName(int(i), names[i]);
    return block.wireBytes();
}

void SendLayout(SampleEngine& engine, const QByteArray& path, const std::vector<QByteArray>& names)
{
    const QByteArray message = LayoutMessage(path, names);
    engine.ReceiveLayout(message.constData(), message.size());
}

}  // namespace vexa::server::test
