#include "server/inputs/InputOptions.h"
#include "server/inputs/InputSettings.h"
#include "server/inputs/InputsConfig.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vexa::server {
namespace {

TEST(InputsConfig, TheValueRulesOfPortsAddressesBrokersAndTopics)
{
    EXPECT_EQ(ParsePort("1"), 1);
    EXPECT_EQ(ParsePort("65535"), 65535);
    for (const char* port : {"", "0", "65536", "-1", "+80", " 80", "80 ", "8o", "99999999999999999999"})
        EXPECT_EQ(ParsePort(port), std::nullopt) << port;

    EXPECT_EQ(ParseStaleAfter("0"), 0);
    EXPECT_EQ(ParseStaleAfter("2147483647"), 2147483647);
    for (const char* limit : {"", "-5", "2147483648", "1.5", "5s"})
        EXPECT_EQ(ParseStaleAfter(limit), std::nullopt) << limit;

    for (const char* address : {"127.0.0.1", "0.0.0.0", "::1", "::", "fe80::1"})
        EXPECT_TRUE(IsValidBindAddress(address)) << address;
    for (const char* address : {"", "localhost", "127.0.0.256", "1.2.3", "[::1]", "127.0.0.1 "})
        EXPECT_FALSE(IsValidBindAddress(address)) << address;

    const std::optional<BrokerAddress> named = ParseBroker("broker.plant-1:1883");
    ASSERT_TRUE(named.has_value());
    EXPECT_EQ(named->host, "broker.plant-1");
    EXPECT_EQ(named->port, 1883);
    const std::optional<BrokerAddress> v6 = ParseBroker("[::1]:8883");
    ASSERT_TRUE(v6.has_value());
    EXPECT_EQ(v6->host, "::1");
    for (const char* broker : {"", "host", "host:", ":1883", "host:0", "host:70000", "ho st:1883", "[::1:1883",
                               "[nonsense]:1883", "::1:1883"})
        EXPECT_EQ(ParseBroker(broker), std::nullopt) << broker;

    for (const char* topic : {"plant/#", "#", "+", "plant/+/rpm", "a//b", "/", "sensors/temp"})
        EXPECT_TRUE(IsValidTopicFilter(topic)) << topic;
    for (const char* topic : {"", "plant/#/x", "pla#nt", "a+/b", "a/b+", "##"})
        EXPECT_FALSE(IsValidTopicFilter(topic)) << topic;
    EXPECT_FALSE(IsValidTopicFilter(std::string("a\0b", 3)));
}

TEST(InputsConfig, AConfigurationIsCheckedAsAWhole)
{
    EXPECT_EQ(ConfigProblem(InputsConfig{}), std::nullopt);
    InputsConfig config;
    config.lineUdpPort = 8089;
    config.lineTcpPort = 8089;  // another protocol: no clash
    config.mqttBroker = "localhost:1883";
    config.mqttTopics = {"plant/#"};
    EXPECT_EQ(ConfigProblem(config), std::nullopt);

    InputsConfig clash = config;
    clash.jsonUdpPort = 8089;
    EXPECT_EQ(ConfigProblem(clash), QStringLiteral("Line protocol over UDP and JSON over UDP cannot share port 8089."));
    InputsConfig noTopic = config;
    noTopic.mqttTopics.clear();
    EXPECT_EQ(ConfigProblem(noTopic), QStringLiteral("The MQTT broker needs at least one topic filter."));
    InputsConfig badBind = config;
    badBind.bindAddress = "localhost";
    EXPECT_EQ(ConfigProblem(badBind),
              QStringLiteral("The bind address \"localhost\" is not a numeric IPv4 or IPv6 address."));
    InputsConfig badPort = config;
    badPort.lineTcpPort = 70000;
    EXPECT_EQ(ConfigProblem(badPort), QStringLiteral("The port of line protocol over TCP must be a number from 1 to 65535."));
}

TEST(InputOptions, EachOptionSetsItsSettingAndTopicsRepeat)
{
    const InputOptionsResult result = ParseInputOptions(
        {"vexalink", "--minimized", "--line-udp", "8089", "--line-tcp=8094", "--json-udp", "8090", "--mqtt",
         "broker:1883", "--mqtt-topic", "plant/#", "--mqtt-topic=lab/+/temp", "--bind", "0.0.0.0", "--stale-after",
         "2500", "--unknown"});
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();

    InputsConfig fromFile;
    fromFile.lineUdpPort = 1;
    fromFile.mqttTopics = {"old/#", "older/#"};
    const InputsConfig config = result.overrides.AppliedTo(fromFile);
    EXPECT_EQ(config.lineUdpPort, 8089);
    EXPECT_EQ(config.lineTcpPort, 8094);
    EXPECT_EQ(config.jsonUdpPort, 8090);
    EXPECT_EQ(config.mqttBroker, "broker:1883");
    EXPECT_EQ(config.mqttTopics, (std::vector<std::string>{"plant/#", "lab/+/temp"}));
    EXPECT_EQ(config.bindAddress, "0.0.0.0");
    EXPECT_EQ(config.staleAfterMs, 2500);

    // What the command line leaves alone comes from the file.
    const InputsConfig partly = ParseInputOptions({"vexalink", "--json-udp", "9000"}).overrides.AppliedTo(fromFile);
    EXPECT_EQ(partly.lineUdpPort, 1);
    EXPECT_EQ(partly.jsonUdpPort, 9000);
    EXPECT_EQ(partly.mqttTopics, fromFile.mqttTopics);
}

TEST(InputOptions, AMissingOrMalformedValueIsAnError)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"vexalink", "--line-udp"}, "--line-udp needs a port from 1 to 65535"},
        {{"vexalink", "--line-tcp", "0"}, "--line-tcp needs a port from 1 to 65535, not \"0\""},
        {{"vexalink", "--json-udp=x"}, "--json-udp needs a port from 1 to 65535, not \"x\""},
        {{"vexalink", "--mqtt", "broker"}, "--mqtt needs HOST:PORT, not \"broker\""},
        {{"vexalink", "--mqtt-topic", "a/#/b"}, "--mqtt-topic needs an MQTT topic filter, not \"a/#/b\""},
        {{"vexalink", "--bind", "localhost"}, "--bind needs a numeric IPv4 or IPv6 address, not \"localhost\""},
        {{"vexalink", "--stale-after", "-1"}, "--stale-after needs a number of milliseconds (0 for none), not \"-1\""},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(ParseInputOptions(arguments).error, error) << error.toStdString();
}

TEST(InputSettings, TheKeysOfTheServerSectionReadBackAndOnlyChangesAreWritten)
{
    test::ScratchDir dir;
    const std::string file = dir.path("VexaDisplay.ini");
    test::WriteFileBytes(file, "[VEXA-Display]\r\nFile1=x.dsp\r\n[VEXA-Com]\r\nDataPath=110\r\nLineUdpPort=8089\r\n"
                               "LineTcpPort=0\r\nJsonUdpPort=99999\r\nMqttBroker=broker:1883\r\nMqttTopic1=plant/#\r\n"
                               "MqttTopic2=a/#/b\r\nMqttTopic3=lab/+\r\nMqttTopic5=skipped/#\r\nBindAddress=::1\r\n"
                               "StaleAfterMs=soon\r\n");
    InputSettings settings(file);
    QStringList problems;
    const InputsConfig read = settings.Read(&problems);
    EXPECT_EQ(read.lineUdpPort, 8089);
    EXPECT_EQ(read.lineTcpPort, 0);
    EXPECT_EQ(read.jsonUdpPort, 0);
    EXPECT_EQ(read.mqttBroker, "broker:1883");
    EXPECT_EQ(read.mqttTopics, (std::vector<std::string>{"plant/#", "lab/+"}));
    EXPECT_EQ(read.bindAddress, "::1");
    EXPECT_EQ(read.staleAfterMs, 0);
    EXPECT_EQ(problems, (QStringList{"The setting JsonUdpPort=99999 cannot be used; it is left at its default.",
                                     "The setting MqttTopic2=a/#/b cannot be used; it is left at its default.",
                                     "The setting StaleAfterMs=soon cannot be used; it is left at its default."}));

    InputsConfig changed = read;
    changed.lineTcpPort = 8094;
    changed.mqttTopics = {"only/#"};
    ASSERT_TRUE(settings.WriteChanges(read, changed));
    const std::string written = test::ReadFileBytes(file);
    EXPECT_EQ(written, "[VEXA-Display]\r\nFile1=x.dsp\r\n[VEXA-Com]\r\nDataPath=110\r\nLineUdpPort=8089\r\n"
                       "LineTcpPort=8094\r\nJsonUdpPort=99999\r\nMqttBroker=broker:1883\r\nMqttTopic1=only/#\r\n"
                       "MqttTopic5=skipped/#\r\nBindAddress=::1\r\nStaleAfterMs=soon\r\n");
    EXPECT_EQ(InputSettings(file).Read().mqttTopics, (std::vector<std::string>{"only/#"}));

    // Nothing changed: the file is not touched.
    ASSERT_TRUE(settings.WriteChanges(changed, changed));
    EXPECT_EQ(test::ReadFileBytes(file), written);
}

TEST(InputSettings, AnEmptyFileMeansEveryInputOffOnTheLoopbackAddress)
{
    test::ScratchDir dir;
    EXPECT_EQ(InputSettings(dir.path("absent.ini")).Read(), InputsConfig{});
    EXPECT_EQ(InputsConfig{}.bindAddress, "127.0.0.1");
}

}  // namespace
}  // namespace vexa::server
