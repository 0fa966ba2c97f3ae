#pragma once

/// The named waits that the test programs share.
namespace vexa::test {

/// The longest a test waits for something that a working program does at
/// once (an answer, an event, a connection): far beyond what it takes on a
/// loaded machine, so that only a fault runs into it.
inline constexpr int kWaitTimeoutMs = 5000;

/// How long a negative check ("the peer stays silent", "no further event
/// comes") watches before it takes silence as the answer. Nothing can show
/// that something will never come, so such a check can only watch for a
/// while. What is already on its way over the loopback interface or through
/// the event loop arrives within a few milliseconds; a longer watch would only
/// slow the run, and one too short can only let a fault pass unseen, never
/// fail a sound program.
inline constexpr int kQuietPeriodMs = 100;

}  // namespace vexa::test
