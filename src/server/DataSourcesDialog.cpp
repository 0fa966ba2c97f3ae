#include "server/DataSourcesDialog.h"

#include "platform/Messages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace vexa::server {

namespace {

constexpr const char* kProblemCaption = "ERROR: Illegal Value Entered";

int PortOr(int port, int fallback)
{
    return port != 0 ? port : fallback;
}

QString TopicLines(const std::vector<std::string>& topics)
{
    QStringList lines;
    for (const std::string& topic : topics)
        lines.append(QString::fromStdString(topic));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

DataSourcesDialog::Switched DataSourcesDialog::AddSwitchedNumber(QGridLayout* layout, int row, const QString& text,
                                                                 const QString& name, int minimum, int maximum,
                                                                 int value, bool on)
{
    auto* check = new QCheckBox(text);
    check->setObjectName(name);
    check->setChecked(on);
    auto* number = new QSpinBox;
    number->setObjectName(name + QStringLiteral("Value"));
    number->setRange(minimum, maximum);
    number->setValue(value);
    number->setEnabled(on);
    number->setAccessibleName(check->text().remove(QLatin1Char('&')));
    connect(check, &QCheckBox::toggled, number, &QWidget::setEnabled);
    layout->addWidget(check, row, 0);
    layout->addWidget(number, row, 1);
    return {check, number};
}

DataSourcesDialog::DataSourcesDialog(const InputsConfig& config, QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setObjectName(QStringLiteral("DataSourcesDialog"));

    auto* inputs = new QGroupBox(QStringLiteral("Inputs (port)"));
    auto* inputsLayout = new QGridLayout(inputs);
    m_lineUdp = AddSwitchedNumber(inputsLayout, 0, QStringLiteral("Line protocol over &UDP"), QStringLiteral("lineUdp"), 1,
                                  kMaxPort, PortOr(config.lineUdpPort, kLineUdpDefaultPort), config.lineUdpPort != 0);
    m_lineTcp = AddSwitchedNumber(inputsLayout, 1, QStringLiteral("Line protocol over &TCP"), QStringLiteral("lineTcp"), 1,
                                  kMaxPort, PortOr(config.lineTcpPort, kLineTcpDefaultPort), config.lineTcpPort != 0);
    m_jsonUdp = AddSwitchedNumber(inputsLayout, 2, QStringLiteral("&JSON over UDP"), QStringLiteral("jsonUdp"), 1,
                                  kMaxPort, PortOr(config.jsonUdpPort, kJsonUdpDefaultPort), config.jsonUdpPort != 0);
    auto* bindLabel = new QLabel(QStringLiteral("&Bind address:"));
    m_bindAddress = new QLineEdit(QString::fromLatin1(config.bindAddress));
    m_bindAddress->setObjectName(QStringLiteral("bindAddress"));
    bindLabel->setBuddy(m_bindAddress);
    inputsLayout->addWidget(bindLabel, 3, 0);
    inputsLayout->addWidget(m_bindAddress, 3, 1);

    auto* mqtt = new QGroupBox(QStringLiteral("MQTT"));
    auto* mqttLayout = new QGridLayout(mqtt);
    m_mqtt = new QCheckBox(QStringLiteral("&Broker (HOST:PORT):"));
    m_mqtt->setObjectName(QStringLiteral("mqtt"));
    m_mqtt->setChecked(!config.mqttBroker.empty());
    m_broker = new QLineEdit(config.mqttBroker.empty() ? QString::fromLatin1(kMqttDefaultBroker)
                                                       : QString::fromStdString(config.mqttBroker));
    m_broker->setObjectName(QStringLiteral("mqttBroker"));
    m_broker->setAccessibleName(QStringLiteral("Broker"));
    auto* topicsLabel = new QLabel(QStringLiteral("T&opic filters, one per line:"));
    m_topics = new QPlainTextEdit(TopicLines(config.mqttTopics));
    m_topics->setObjectName(QStringLiteral("mqttTopics"));
    m_topics->setTabChangesFocus(true);
    topicsLabel->setBuddy(m_topics);
    for (QWidget* part : {static_cast<QWidget*>(m_broker), static_cast<QWidget*>(m_topics)}) {
        part->setEnabled(m_mqtt->isChecked());
        connect(m_mqtt, &QCheckBox::toggled, part, &QWidget::setEnabled);
    }
    mqttLayout->addWidget(m_mqtt, 0, 0);
    mqttLayout->addWidget(m_broker, 0, 1);
    mqttLayout->addWidget(topicsLabel, 1, 0, 1, 2);
    mqttLayout->addWidget(m_topics, 2, 0, 1, 2);

    auto* stale = new QGroupBox(QStringLiteral("Stale values"));
    auto* staleLayout = new QGridLayout(stale);
    m_stale = AddSwitchedNumber(staleLayout, 0, QStringLiteral("&Show as missing when not fed within (ms)"),
                                QStringLiteral("staleAfter"), 1, INT_MAX,
                                config.staleAfterMs != 0 ? config.staleAfterMs : kStaleDefaultMs,
                                config.staleAfterMs != 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DataSourcesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DataSourcesDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputs);
    layout->addWidget(mqtt);
    layout->addWidget(stale);
    layout->addWidget(buttons);
}

InputsConfig DataSourcesDialog::config() const
{
    auto numberOf = [](const Switched& switched) { return switched.check->isChecked() ? switched.value->value() : 0; };
    InputsConfig config;
    config.lineUdpPort = numberOf(m_lineUdp);
    config.lineTcpPort = numberOf(m_lineTcp);
    config.jsonUdpPort = numberOf(m_jsonUdp);
    config.bindAddress = m_bindAddress->text().trimmed().toStdString();
    if (m_mqtt->isChecked())
        config.mqttBroker = m_broker->text().trimmed().toStdString();
    // The topics are kept while the broker is off, ready for its return.
    for (const QString& line : m_topics->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            config.mqttTopics.push_back(line.trimmed().toStdString());
    }
    config.staleAfterMs = numberOf(m_stale);
    return config;
}

void DataSourcesDialog::accept()
{
    if (const std::optional<QString> problem = ConfigProblem(config())) {
        ShowMessage(this, *problem, QString::fromLatin1(kProblemCaption), MessageIcon::Information);
        return;
    }
    QDialog::accept();
}

}  // namespace vexa::server
