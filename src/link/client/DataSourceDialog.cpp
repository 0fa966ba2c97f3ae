#include "DataSourceDialog.h"

#include "DataLink.h"

#include "document/ProfileStore.h"
#include "platform/AnsiText.h"
#include "platform/DialogConventions.h"
#include "platform/DialogPlacement.h"
#include "platform/Messages.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <cstdint>

namespace vexa::link {

namespace {

constexpr const char* kDialogName = "ConfigureDataSource";
constexpr const char* kDialogCaption = "Configure VEXA-Display Data Source";
constexpr const char* kDialogErrorCaption = "VEXA-Display Error";

/// Control identifiers, which are also the controls' object names. The
/// radio buttons' identifiers are the DataSource values.
constexpr int kHostEditId = 252;
constexpr int kPortEditId = 253;
constexpr int kRestoreDefaultsId = 254;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

struct SourceButton {
    int source;
    const char* text;
};
/// In the order the dialog shows them.
constexpr std::array<SourceButton, 3> kSourceButtons{{
    {kSourceNone, "None (Work Offline)"},
    {kSourceDde, "DDE (Dynamic Data Exchange)"},
    {kSourceEthernet, "Ethernet"},
}};

/// The port edit is read like a ten-character buffer, terminator included.
constexpr qsizetype kPortTextLength = 9;
constexpr int kDecimalBase = 10;

constexpr const char* kInvalidPortText = "Port numbers must be a number greater than zero.";
constexpr const char* kInvalidPortCaption = "Invalid Port Number Specified";
constexpr const char* kEmptyHostText = "Enter hostname before exiting.";
constexpr const char* kEmptyHostCaption = "Invalid Host Name Specified";
constexpr const char* kNoSourceText = "Please select data source before exiting.";
constexpr const char* kStoreFailedText = "Unable to save the data source settings to\n\n\"%1\"\n\n%2";

QString IdName(int id)
{
    return QString::number(id);
}

void ShowInformation(QWidget* owner, const char* text, const char* caption)
{
    ShowMessage(owner, QString::fromLatin1(text), QString::fromLatin1(caption), MessageIcon::Information);
}

/// The blanks a C library skips before a number.
bool IsLeadingBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

std::optional<std::uint16_t> ParsePortText(const QString& text)
{
    const QString field = text.left(kPortTextLength);
    qsizetype i = 0;
    while (i < field.size() && IsLeadingBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) {
        negative = field[i] == u'-';
        ++i;
    }
    // Nine digits at most, so the value always fits.
    qint64 value = 0;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i)
        value = value * kDecimalBase + (field[i].unicode() - u'0');
    if (negative)
        value = -value;
    // Only the low 16 bits count, as the port is a 16-bit number.
    const auto port = static_cast<std::uint16_t>(value);
    if (port == 0)
        return std::nullopt;
    return port;
}

DataSourceDialog::DataSourceDialog(QWidget* owner, DataLink& link)
    : QDialog(owner), m_link(link), m_sources(new QButtonGroup(this))
{
    setObjectName(QString::fromLatin1(kDialogName));
    setWindowTitle(QString::fromLatin1(kDialogCaption));

    auto* sourceBox = new QGroupBox(QStringLiteral("Select Data Source"), this);
    auto* sourceLayout = new QVBoxLayout(sourceBox);
    for (const SourceButton& entry : kSourceButtons) {
        auto* button = new QRadioButton(QString::fromLatin1(entry.text), sourceBox);
        button->setObjectName(IdName(entry.source));
        m_sources->addButton(button, entry.source);
        sourceLayout->addWidget(button);
    }

    auto* ethernetBox = new QGroupBox(QStringLiteral("Ethernet Options"), this);
    auto* ethernetLayout = new QFormLayout(ethernetBox);
    m_host = new QLineEdit(ethernetBox);
    m_host->setObjectName(IdName(kHostEditId));
    m_host->setMaxLength(static_cast<int>(kMaxHostLength));
    m_port = new QLineEdit(ethernetBox);
    m_port->setObjectName(IdName(kPortEditId));
    ethernetLayout->addRow(QStringLiteral("Host:"), m_host);
    ethernetLayout->addRow(QStringLiteral("Port:"), m_port);
    m_restore = new QPushButton(QStringLiteral("Restore Defaults"), ethernetBox);
    m_restore->setObjectName(IdName(kRestoreDefaultsId));
    ethernetLayout->addRow(m_restore);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(IdName(kOkId));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(IdName(kCancelId));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sourceBox);
    layout->addWidget(ethernetBox);
    layout->addLayout(buttons);

    // The host and port shown are those stored, whatever the source: a user
    // who goes back to Ethernet finds the server chosen before.
    const std::string& file = m_link.settingsFile();
    const auto port = static_cast<std::uint16_t>(profile::ReadInt(kLinkSection, kPortKey, kDefaultPort, file));
    m_port->setText(QString::number(port));
    m_host->setText(FromAnsi(profile::ReadString(kLinkSection, kHostKey, kDefaultHost, file, kMaxHostLength + 1)));
    const int source = m_link.settings().source;
    if (QAbstractButton* current = m_sources->button(source); current != nullptr)
        current->setChecked(true);
    enableEthernetOptions(source == kSourceEthernet);

    connect(m_sources, &QButtonGroup::idClicked, this, &DataSourceDialog::chooseSource);
    connect(m_host, &QLineEdit::textEdited, this, &DataSourceDialog::markChanged);
    connect(m_port, &QLineEdit::textEdited, this, &DataSourceDialog::markChanged);
    connect(m_restore, &QPushButton::clicked, this, &DataSourceDialog::restoreDefaults);
    connect(ok, &QPushButton::clicked, this, &DataSourceDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &DataSourceDialog::reject);

    adjustSize();
    CentreDialog(*this, owner);
}

void DataSourceDialog::accept()
{
    if (!m_changed) {
        QDialog::accept();
        return;
    }
    const std::optional<LinkSettings> chosen = readChoice();
    if (!chosen)
        return;
    if (m_link.isConnected())
        m_link.Disconnect();
    if (!StoreLinkSettings(*chosen, m_link.settingsFile())) {
        // The choice still holds for this session; the user learns that it
        // will not survive a restart.
        ShowMessage(this,
                    QString::fromLatin1(kStoreFailedText)
                        .arg(FromLocalPath(m_link.settingsFile()), FromAnsi(profile::LastError())),
                    QString::fromLatin1(kDisplayCaption), MessageIcon::Exclamation);
    }
    m_link.setSettings(*chosen);
    QDialog::accept();
}

void DataSourceDialog::reject()
{
    switch (ConfirmCancel(this, m_changed)) {
    case CancelChoice::Close:
        QDialog::reject();
        break;
    case CancelChoice::SaveFirst:
        accept();
        break;
    case CancelChoice::Stay:
        break;
    }
}

std::optional<LinkSettings> DataSourceDialog::readChoice()
{
    LinkSettings chosen = m_link.settings();
    switch (m_sources->checkedId()) {
    case kSourceDde:
        chosen.source = kSourceDde;
        break;
    case kSourceEthernet: {
        const std::optional<std::uint16_t> port = ParsePortText(m_port->text());
        if (!port) {
            ShowInformation(this, kInvalidPortText, kInvalidPortCaption);
            return std::nullopt;
        }
        // The settings file trims blanks around a value, so a host of blanks
        // alone would come back empty.
        const QString host = m_host->text().left(static_cast<qsizetype>(kMaxHostLength)).trimmed();
        if (host.isEmpty()) {
            ShowInformation(this, kEmptyHostText, kEmptyHostCaption);
            return std::nullopt;
        }
        chosen.source = kSourceEthernet;
        chosen.host = ToAnsi(host);
        chosen.port = *port;
        break;
    }
    case kSourceNone:
        chosen.source = kSourceNone;
        break;
    default:
        ShowInformation(this, kNoSourceText, kDisplayCaption);
        return std::nullopt;
    }
    return chosen;
}

void DataSourceDialog::chooseSource(int source)
{
    enableEthernetOptions(source == kSourceEthernet);
    m_changed = true;
}

void DataSourceDialog::restoreDefaults()
{
    m_port->setText(QString::number(kDefaultPort));
    m_host->setText(QString::fromLatin1(kDefaultHost));
    m_changed = true;
}

void DataSourceDialog::markChanged()
{
    m_changed = true;
}

void DataSourceDialog::enableEthernetOptions(bool enabled)
{
    m_host->setEnabled(enabled);
    m_port->setEnabled(enabled);
    m_restore->setEnabled(enabled);
}

bool ConfigureDataSource(QWidget* owner, DataLink& link)
{
    DataSourceDialog dialog(owner, link);
    const int result = dialog.exec();
    // exec() refuses with -1 when the dialog cannot run its own loop.
    if (result < 0) {
        ReportDialogFailure(owner, QString::fromLatin1(kDialogErrorCaption), MessageIcon::Exclamation);
        return false;
    }
    return result == QDialog::Accepted && dialog.isChanged();
}

}  // namespace vexa::link
