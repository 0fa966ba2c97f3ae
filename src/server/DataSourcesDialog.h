#pragma once

#include "server/inputs/InputsConfig.h"

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace vexa::server {

/// The "Data Sources" dialog: each live input on or off with its port, the
/// bind address, the MQTT broker and topic filters, and the stale limit.
/// OK checks the whole configuration; a configuration that cannot be put in
/// force is shown and the dialog stays open. Controls carry object names,
/// so that they can be found.
class DataSourcesDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Data Sources";
    /// The ports offered for an input that was off.
    static constexpr int kLineUdpDefaultPort = 8089;
    static constexpr int kLineTcpDefaultPort = 8094;
    static constexpr int kJsonUdpDefaultPort = 8090;
    static constexpr const char* kMqttDefaultBroker = "localhost:1883";
    static constexpr int kStaleDefaultMs = 5000;

    /// A dialog showing \p config.
    DataSourcesDialog(const InputsConfig& config, QWidget* owner);

    /// The configuration the controls hold now.
    InputsConfig config() const;

    /// Closes the dialog only when its configuration is sound.
    void accept() override;

private:
    /// A check box and the spin box it switches, in a row of \p layout.
    struct Switched {
        QCheckBox* check;
        QSpinBox* value;
    };

    Switched AddSwitchedNumber(QGridLayout* layout, int row, const QString& text, const QString& name,
                               int minimum, int maximum, int value, bool on);

    Switched m_lineUdp;
    Switched m_lineTcp;
    Switched m_jsonUdp;
    QLineEdit* m_bindAddress;
    QCheckBox* m_mqtt;
    QLineEdit* m_broker;
    QPlainTextEdit* m_topics;
    Switched m_stale;
};

}  // namespace vexa::server
