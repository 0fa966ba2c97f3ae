#include "link/client/DataSourceDialog.h"

#include "document/ProfileStore.h"
#include "link/client/DataLink.h"
#include "link/client/LinkHost.h"
#include "platform/DialogConventions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace vexa::link {
namespace {

/// A window around the link that only remembers what it was told.
class DialogLinkHost : public LinkHost {
public:
    QWidget* linkWindow() override { return &m_window; }
    void showConnection(const QString& text) override { m_connection = text; }
    void showSampleTime(const QString&) override {}
    void enableReconnect(bool) override {}

private:
    QWidget m_window;
    QString m_connection;
};

const QString kPortText = QStringLiteral("Port numbers must be a number greater than zero.");
const QString kPortCaption = QStringLiteral("Invalid Port Number Specified");

/// The file's inode: a store replaces the file, so a new inode tells of a write.
ino_t InodeOf(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

class DataSourceDialogTest : public ::testing::Test {
protected:
    /// Writes the settings file, loads it into the link and opens the dialog.
    void open(const std::string& settings)
    {
        // Rewritten within one tick of the clock, the file could look
        // unchanged to the store's cache.
        profile::Flush(m_settingsFile);
        test::WriteFileBytes(m_settingsFile, "[VEXA Display]\r\n" + settings);
        m_link.LoadLinkSettings();
        m_dialog = std::make_unique<DataSourceDialog>(nullptr, m_link);
        m_dialog->show();
    }

    template <typename T = QWidget>
    T* control(const char* id) const
    {
        T* found = m_dialog->findChild<T*>(QString::fromLatin1(id));
        EXPECT_NE(found, nullptr) << id;
        return found;
    }

    /// Clicks near the left end, where a radio button has its indicator
    /// however wide the layout made it.
    void click(const char* id) const
    {
        QAbstractButton* button = control<QAbstractButton>(id);
        const int middle = button->height() / 2;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(middle, middle));
    }

    /// Replaces the text of an edit as the user would.
    void type(const char* id, const QString& text) const
    {
        QLineEdit* edit = control<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    std::string stored(const char* key) const
    {
        return profile::ReadString("VEXA Display", key, "<absent>", m_settingsFile);
    }

    test::ScratchDir m_scratch;
    test::ScriptedMessages m_messages;
    DialogLinkHost m_host;
    std::string m_settingsFile = m_scratch.path("VexaDisplay.ini");
    DataLink m_link{m_host, m_settingsFile};
    std::unique_ptr<DataSourceDialog> m_dialog;
};

TEST(ParsePortText, ReadsTheFirstNineCharactersAsANumberOfSixteenBits)
{
    const struct {
        const char* text;
        std::optional<std::uint16_t> port;
    } cases[] = {
        {"1000", 1000},     {"0", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
        {"65536", std::nullopt}, {"70000", 4464}, {"-1", 65535},       {"  +2001x", 2001},
        {"12 34", 12},      {"0000012345", 1234}, {"- 5", std::nullopt}, {"65535", 65535},
    };
    for (const auto& each : cases)
        EXPECT_EQ(ParsePortText(QString::fromLatin1(each.text)), each.port) << each.text;
}

TEST_F(DataSourceDialogTest, OpensWithTheStoredChoiceAndItsControls)
{
    open("DataSource=250\r\nHost=plant7\r\nPort=2345\r\n");
    EXPECT_EQ(m_dialog->objectName(), QStringLiteral("ConfigureDataSource"));
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("Configure VEXA-Display Data Source"));
    EXPECT_EQ(control<QRadioButton>("251")->text(), QStringLiteral("None (Work Offline)"));
    EXPECT_EQ(control<QRadioButton>("249")->text(), QStringLiteral("DDE (Dynamic Data Exchange)"));
    EXPECT_EQ(control<QRadioButton>("250")->text(), QStringLiteral("Ethernet"));
    EXPECT_EQ(control<QAbstractButton>("254")->text(), QStringLiteral("Restore Defaults"));
    EXPECT_EQ(control<QAbstractButton>("1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(control<QAbstractButton>("2")->text(), QStringLiteral("Cancel"));
    QStringList groups;
    for (const QGroupBox* group : m_dialog->findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, (QStringList{QStringLiteral("Select Data Source"), QStringLiteral("Ethernet Options")}));
    QStringList labels;
    for (const QLabel* label : m_dialog->findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("Host:"), QStringLiteral("Port:")}));

    EXPECT_TRUE(control<QRadioButton>("250")->isChecked());
    EXPECT_EQ(control<QLineEdit>("252")->text(), QStringLiteral("plant7"));
    EXPECT_EQ(control<QLineEdit>("252")->maxLength(), 49);
    EXPECT_EQ(control<QLineEdit>("253")->text(), QStringLiteral("2345"));
    EXPECT_FALSE(m_dialog->isChanged());
}

TEST_F(DataSourceDialogTest, EthernetOptionsAreEnabledOnlyForEthernet)
{
    const struct {
        const char* source;
        bool ethernet;
    } cases[] = {{"251", false}, {"249", false}, {"250", true}};
    for (const auto& opened : cases) {
        for (const auto& clicked : cases) {
            SCOPED_TRACE(std::string(opened.source) + " then " + clicked.source);
            open(std::string("DataSource=") + opened.source + "\r\n");
            for (const char* source : {"249", "250", "251"})
                EXPECT_EQ(control<QRadioButton>(source)->isChecked(), source == std::string(opened.source));
            for (const char* id : {"252", "253", "254"})
                EXPECT_EQ(control(id)->isEnabled(), opened.ethernet) << id;
            EXPECT_FALSE(m_dialog->isChanged());

            click(clicked.source);
            EXPECT_TRUE(control<QRadioButton>(clicked.source)->isChecked());
            for (const char* id : {"252", "253", "254"})
                EXPECT_EQ(control(id)->isEnabled(), clicked.ethernet) << id;
            EXPECT_TRUE(m_dialog->isChanged());
        }
    }
}

TEST_F(DataSourceDialogTest, TypingInAnEditCountsAsAChange)
{
    for (const char* id : {"252", "253"}) {
        open("DataSource=250\r\n");
        type(id, QStringLiteral("7"));
        EXPECT_TRUE(m_dialog->isChanged()) << id;
    }
}

TEST_F(DataSourceDialogTest, PortsThatAreNoNumberAboveZeroAreRefused)
{
    for (const char* text : {"0", "abc", "65536"}) {
        SCOPED_TRACE(text);
        open("DataSource=249\r\n");
        const ino_t before = InodeOf(m_settingsFile);
        click("250");
        type("253", QString::fromLatin1(text));
        m_messages.clear();
        click("1");
        ASSERT_EQ(m_messages.boxes().size(), 1u);
        const MessageRequest box = m_messages.boxes().front();
        EXPECT_EQ(box.text, kPortText);
        EXPECT_EQ(box.caption, kPortCaption);
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_TRUE(m_dialog->isVisible());
        EXPECT_EQ(InodeOf(m_settingsFile), before);
        EXPECT_EQ(m_link.settings().source, kSourceDde);
    }
}

TEST_F(DataSourceDialogTest, PortsAreStoredByTheirLowSixteenBits)
{
    const struct {
        const char* text;
        const char* stored;
        std::uint16_t port;
    } cases[] = {{"70000", "4464", 4464}, {"-1", "65535", 65535}, {"2001", "2001", 2001}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.text);
        open("DataSource=251\r\n");
        click("250");
        type("252", QStringLiteral("plant7"));
        type("253", QString::fromLatin1(each.text));
        click("1");
        EXPECT_FALSE(m_dialog->isVisible());
        EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
        EXPECT_EQ(stored("DataSource"), "250");
        EXPECT_EQ(stored("Port"), each.stored);
        EXPECT_EQ(stored("Host"), "plant7");
        EXPECT_EQ(m_link.settings(), (LinkSettings{kSourceEthernet, "plant7", each.port}));
    }
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(DataSourceDialogTest, AnEmptyHostIsRefused)
{
    for (const char* host : {"", "   "}) {
        SCOPED_TRACE(host);
        open("DataSource=250\r\nHost=plant7\r\nPort=2000\r\n");
        type("252", QString::fromLatin1(host));
        m_messages.clear();
        click("1");
        ASSERT_EQ(m_messages.boxes().size(), 1u);
        const MessageRequest box = m_messages.boxes().front();
        EXPECT_EQ(box.text, QStringLiteral("Enter hostname before exiting."));
        EXPECT_EQ(box.caption, QStringLiteral("Invalid Host Name Specified"));
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_TRUE(m_dialog->isVisible());
        EXPECT_EQ(stored("Host"), "plant7");
    }
}

TEST_F(DataSourceDialogTest, OkWithoutAChangeNeitherWritesNorDisconnects)
{
    open("DataSource=251\r\n");
    ASSERT_TRUE(m_link.Connect());
    const ino_t before = InodeOf(m_settingsFile);
    // Programmatic text is no typing.
    control<QLineEdit>("253")->setText(QStringLiteral("5"));
    click("1");
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_TRUE(m_link.isConnected());
    EXPECT_EQ(InodeOf(m_settingsFile), before);
    EXPECT_EQ(test::ReadFileBytes(m_settingsFile), "[VEXA Display]\r\nDataSource=251\r\n");
}

TEST_F(DataSourceDialogTest, OkWithAChangeDisconnectsAndStoresTheNewSource)
{
    open("DataSource=251\r\nPort=2000\r\n");
    ASSERT_TRUE(m_link.Connect());
    click("249");
    click("1");
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_FALSE(m_link.isConnected());
    EXPECT_EQ(stored("DataSource"), "249");
    EXPECT_EQ(stored("Port"), "2000");
    EXPECT_EQ(m_link.settings().source, kSourceDde);
}

TEST_F(DataSourceDialogTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheChoiceKept)
{
    // A settings file inside a plain file can be neither read nor written.
    test::WriteFileBytes(m_scratch.path("blocker"), "");
    const std::string unwritable = m_scratch.path("blocker/VexaDisplay.ini");
    DataLink link(m_host, unwritable);
    link.LoadLinkSettings();
    m_dialog = std::make_unique<DataSourceDialog>(nullptr, link);
    m_dialog->show();
    click("251");
    click("1");
    ASSERT_EQ(m_messages.boxes().size(), 1u);
    const MessageRequest box = m_messages.boxes().front();
    EXPECT_TRUE(box.text.contains(QString::fromStdString(unwritable))) << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(QString::fromLocal8Bit(std::strerror(ENOTDIR)))) << box.text.toStdString();
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(link.settings().source, kSourceNone);
    m_dialog.reset();
}

TEST_F(DataSourceDialogTest, RestoreDefaultsPutsTheDefaultServerIntoTheEdits)
{
    open("DataSource=250\r\nHost=plant7\r\nPort=2000\r\n");
    click("254");
    EXPECT_EQ(control<QLineEdit>("252")->text(), QStringLiteral("localhost"));
    EXPECT_EQ(control<QLineEdit>("253")->text(), QStringLiteral("1000"));
    EXPECT_TRUE(m_dialog->isChanged());
    click("1");
    EXPECT_EQ(stored("Host"), "localhost");
    EXPECT_EQ(stored("Port"), "1000");
}

TEST_F(DataSourceDialogTest, CancelWithoutAChangeClosesWithoutAQuestion)
{
    open("DataSource=249\r\n");
    click("2");
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(m_messages.calls().empty());
}

TEST_F(DataSourceDialogTest, CancellingChangesAsksAndFollowsTheAnswer)
{
    const struct {
        MessageAnswer answer;
        bool closeBox;
        bool visible;
        std::string source;
    } cases[] = {
        {MessageAnswer::Yes, false, false, "251"}, {MessageAnswer::No, false, false, "249"},
        {MessageAnswer::Cancel, false, true, "249"}, {MessageAnswer::Yes, true, false, "251"},
        {MessageAnswer::Cancel, true, true, "249"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(MessageAnswerName(each.answer)) + (each.closeBox ? " from the close box" : ""));
        open("DataSource=249\r\n");
        click("251");
        m_messages.clear();
        m_messages.script({each.answer});
        if (each.closeBox)
            m_dialog->close();
        else
            click("2");

        ASSERT_EQ(m_messages.calls().size(), 2u);
        EXPECT_TRUE(m_messages.calls()[0].isBeep);
        const MessageRequest& box = m_messages.calls()[1].request;
        EXPECT_EQ(box.text, QString::fromLatin1(kCancelDialogText));
        EXPECT_EQ(box.caption, QStringLiteral("Cancel Dialog"));
        EXPECT_EQ(box.icon, MessageIcon::Question);
        EXPECT_EQ(box.buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(m_dialog->isVisible(), each.visible);
        EXPECT_EQ(stored("DataSource"), each.source);
    }
}

TEST_F(DataSourceDialogTest, SayingYesToTheQuestionStillChecksThePort)
{
    open("DataSource=249\r\n");
    click("250");
    type("253", QStringLiteral("0"));
    m_messages.script({MessageAnswer::Yes});
    click("2");
    ASSERT_EQ(m_messages.boxes().size(), 2u);
    EXPECT_EQ(m_messages.boxes()[1].text, kPortText);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(stored("DataSource"), "249");
}

}  // namespace
}  // namespace vexa::link
