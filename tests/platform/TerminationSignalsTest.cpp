#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace vexa {
namespace {

/// Long enough for a signal raised in this process to reach the event loop.
constexpr int kDeliveryWaitMs = 5000;

TEST(TerminationSignals, EachSignalReachesTheEventLoopAsOneCall)
{
    int calls = 0;
    QObject owner;
    TerminationSignals termination([&calls] { ++calls; }, &owner);
    ASSERT_TRUE(termination.isInstalled());

    // A second instance would fight over the handlers; it stays idle.
    TerminationSignals second([] { FAIL() << "the second instance was called"; }, &owner);
    EXPECT_FALSE(second.isInstalled());

    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        const int before = calls;
        ASSERT_EQ(std::raise(signal), 0);  // the process lives on: the handler is ours
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls > before; }, kDeliveryWaitMs));
    }
    EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace vexa
