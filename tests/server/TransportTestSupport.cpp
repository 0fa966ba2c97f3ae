#include "TransportTestSupport.h"

#include "link/protocol/LayoutBlock.h"
#include "link/protocol/TcpMessages.h"
#include "link/protocol/WireFormat.h"

namespace vexa::server::test {

void RecordingLog::LogLine(const QString& text)
{
    texts.append(text);
    entries.append(text.split(QLatin1Char('\n')));
}

QByteArray RequestSample(RawTcpClient& client, int count)
{
    if (!client.send(link::BuildSampleRequest()))
        return {};
    return client.receive(link::SampleBytesFor(count));
}

QByteArray LayoutMessage(const QByteArray& path, const QList<QByteArray>& names)
{
    link::LayoutBlock block(link::kServerLayoutNames);
    block.setPath(path);
    block.setCount(std::int32_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        block.setName(i, names[i]);
    }
    return link::BuildLayoutMessage(block);
}

}  // namespace vexa::server::test
