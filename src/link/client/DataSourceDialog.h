#pragma once

#include "link/client/LinkSettings.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vexa::link {

class DataLink;

/// The port text read as the dialog reads it: its first nine characters as a
/// decimal number, of which the low 16 bits count. Nothing when that is 0.
std::optional<std::uint16_t> ParsePortText(const QString& text);

/// "Configure VEXA-Display Data Source": the data source, and the Ethernet
/// host and port. On OK with changes the link is disconnected and the choice
/// stored in the settings file; it takes effect at the next connection.
class DataSourceDialog : public QDialog {
    Q_OBJECT
public:
    DataSourceDialog(QWidget* owner, DataLink& link);

    bool isChanged() const { return m_changed; }

    void accept() override;
    void reject() override;

private:
    void chooseSource(int source);
    void restoreDefaults();
    void enableEthernetOptions(bool enabled);
    void markChanged();
    /// The settings the checked source and the edits describe; nothing, once
    /// the user has been told why, when they cannot be taken.
    std::optional<LinkSettings> readChoice();

    DataLink& m_link;
    QButtonGroup* m_sources = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QPushButton* m_restore = nullptr;
    bool m_changed = false;
};

/// Runs the dialog over \p owner; true when a new data source was stored.
bool ConfigureDataSource(QWidget* owner, DataLink& link);

}  // namespace vexa::link
