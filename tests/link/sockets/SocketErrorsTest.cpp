#include "link/sockets/SocketErrors.h"

#include "platform/MessageHandler.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace vexa::sockets {
namespace {

QString CalledBy()
{
    return QStringLiteral("\n\nCalled by: ") + QCoreApplication::applicationFilePath();
}

TEST(WinsockCodeFromErrno, GivesTheWindowsSocketsCodeOfEachErrno)
{
    struct Case {
        int err;
        int code;
    };
    const std::vector<Case> cases{
        {0, 0},
        {ECONNREFUSED, 10061}, {EADDRINUSE, 10048}, {EACCES, 10013}, {EWOULDBLOCK, 10035},
        {EAGAIN, 10035}, {ETIMEDOUT, 10060}, {ECONNRESET, 10054}, {EINTR, 10004},
        {EFAULT, 10014}, {EINVAL, 10022}, {EMFILE, 10024}, {ENFILE, 10024},
        {EINPROGRESS, 10036}, {EALREADY, 10036}, {ENOTSOCK, 10038}, {EBADF, 10038},
        {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040}, {EOPNOTSUPP, 10045}, {EAFNOSUPPORT, 10047},
        {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050}, {ENETUNREACH, 10051}, {ENETRESET, 10052},
        {ECONNABORTED, 10053}, {ENOBUFS, 10055}, {EISCONN, 10056}, {ENOTCONN, 10057},
        {ESHUTDOWN, 10058}, {EPIPE, 10058}, {ENOPROTOOPT, 10042},
        // Known to Windows Sockets but not described by the table.
        {EHOSTUNREACH, 10065}, {EPROTONOSUPPORT, 10043},
        // Unknown to Windows Sockets: the errno itself, outside the table.
        {ENOENT, ENOENT}, {ENOSPC, ENOSPC},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WinsockCodeFromErrno(c.err), c.code) << "errno " << c.err;
}

TEST(SocketErrorDescription, HoldsTheTableTextsAndNothingElse)
{
    struct Case {
        int code;
        const char* text;   // nullptr: not in the table
    };
    const std::vector<Case> cases{
        {10004, "The (blocking) call was canceled using WSACancelBlockingCall."},
        {10022, "The socket has not been bound to an address with bind."},
        {10035, "The socket is marked as nonblocking and the requested operation would block."},
        {10040, "The socket is of type SOCK_DGRAM, and the datagram is larger than the maximum "
                "supported by the Windows Sockets implementation."},
        {10048, "The specified address is already in use. (See the SO_REUSEADDR socket option "
                "under setsockopt.)"},
        {10051, "The network can't be reached from this host at this time."},
        {10058, "The socket has been shut down; it is not possible to sendto on a socket after "
                "shutdown has been invoked with how set to 1 or 2."},
        {10061, "The attempt to connect was forcefully rejected."},
        {10093, "A successful WSAStartup must occur before using this function."},
        {0, nullptr}, {10042, nullptr}, {10059, nullptr}, {10065, nullptr},
        {11001, nullptr}, {ENOENT, nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<QString> description = SocketErrorDescription(c.code);
        if (c.text == nullptr)
            EXPECT_FALSE(description.has_value()) << c.code;
        else
            EXPECT_EQ(description.value_or(QString()), QString::fromLatin1(c.text)) << c.code;
    }
}

class ReportSocketErrorTest : public ::testing::Test {
protected:
    void SetUp() override { SetLastSocketError(0); }
    void TearDown() override { SetLastSocketError(0); }

    QWidget m_window;
};

TEST_F(ReportSocketErrorTest, ShowsTheTableTextOrTheUnknownCodeForm)
{
    struct Case {
        int code;
        QString callerText;
        QString caption;
        QString text;
    };
    const std::vector<Case> cases{
        {10061, "Connect Failure", "Connect Failure",
         "The attempt to connect was forcefully rejected." + CalledBy()},
        {10048, "Bind Error (Port 4000)", "Bind Error (Port 4000)",
         "The specified address is already in use. (See the SO_REUSEADDR socket option under "
         "setsockopt.)" + CalledBy()},
        {10042, "Listen Error", "Winsock Error",
         "Listen Error\n\nUnknown error code: 10042 (0x273a)" + CalledBy()},
        {11001, "Lookup", "Winsock Error",
         "Lookup\n\nUnknown error code: 11001 (0x2af9)" + CalledBy()},
    };
    for (const Case& c : cases) {
        test::ScriptedMessages messages;
        SetLastSocketError(c.code);
        ReportSocketError(&m_window, c.callerText);

        ASSERT_EQ(messages.calls().size(), 2u) << c.code;
        EXPECT_TRUE(messages.calls()[0].isBeep);
        const MessageRequest& box = messages.calls()[1].request;
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_EQ(box.owner, &m_window);
        EXPECT_EQ(LastSocketError(), c.code) << "reporting leaves the error in place";
    }
}

TEST_F(ReportSocketErrorTest, DoesNothingWithoutAnError)
{
    test::ScriptedMessages messages;
    ReportSocketError(&m_window, "Connect Failure");
    EXPECT_TRUE(messages.calls().empty());
}

/// Reports a second socket error from inside the first error's box.
class ReportingAgain : public MessageHandler {
public:
    ReportingAgain() : m_previous(SetMessageHandler(this)) {}
    ~ReportingAgain() override { SetMessageHandler(m_previous); }
    ReportingAgain(const ReportingAgain&) = delete;
    ReportingAgain& operator=(const ReportingAgain&) = delete;

    MessageAnswer show(const MessageRequest& request) override
    {
        captions.push_back(request.caption);
        if (captions.size() == 1) {
            SetLastSocketError(kConnectionReset);
            ReportSocketError(nullptr, "Second");
        }
        return MessageAnswer::Ok;
    }
    void beep() override { ++beeps; }

    QStringList captions;
    int beeps = 0;

private:
    MessageHandler* m_previous;
};

TEST_F(ReportSocketErrorTest, AnErrorWhileTheBoxIsOpenOnlyBeeps)
{
    ReportingAgain handler;
    SetLastSocketError(kConnectionRefused);
    ReportSocketError(nullptr, "First");
    EXPECT_EQ(handler.captions, QStringList{"First"});
    EXPECT_EQ(handler.beeps, 2);

    // Once the box is closed the next error gets its box again.
    SetLastSocketError(kTimedOut);
    ReportSocketError(nullptr, "Third");
    EXPECT_EQ(handler.captions, (QStringList{"First", "Third"}));
    EXPECT_EQ(handler.beeps, 3);
}

}  // namespace
}  // namespace vexa::sockets
