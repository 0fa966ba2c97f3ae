#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QDBusError;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace vexa::link {

/// The display program's end of a conversation with the data server on the
/// session bus: connect to a service and topic, poke an item synchronously,
/// request an item asynchronously, disconnect. Failures are not reported
/// here; they set the last error (DdeErrors.h), which lastError() reads and
/// resets, as the data link expects.
class DdeClient : public QObject {
    Q_OBJECT
public:
    /// How long a poke waits for its acknowledgement.
    static constexpr int kPokeTimeoutMs = 1000;
    /// How long an asynchronous request may stay unanswered.
    static constexpr int kRequestTimeoutMs = 10000;

    explicit DdeClient(QObject* parent = nullptr);
    ~DdeClient() override;

    /// Joins the session bus as a client; false (last error "DLL Not
    /// Initialized") when there is no session bus.
    bool initialize();
    /// Leaves: ends the conversation and forgets the bus.
    void uninitialize();
    bool isInitialized() const { return m_initialized; }

    /// Opens a conversation on \p service and \p topic; false when no server
    /// owns the name or it refuses (last error "No Conversation Established").
    bool connectConversation(const QString& service, const QString& topic);
    /// Ends the conversation, if there is one.
    void disconnectConversation();
    bool hasConversation() const { return m_conversation != 0; }

    /// Pokes \p data to \p item (format 128) and waits up to kPokeTimeoutMs
    /// for the answer. False when the call failed; the error is then set.
    bool poke(const QString& item, const QByteArray& data);
    /// Requests \p item (format 128) without waiting; the answer arrives as
    /// requestCompleted(). False when the request could not be issued.
    bool request(const QString& item);
    /// True while a request has been issued and its answer (or failure) has
    /// not come yet.
    bool hasPendingRequest() const { return m_pendingRequests > 0; }
    /// Milliseconds since the newest request was issued.
    qint64 lastRequestAgeMs() const { return m_lastRequest.elapsed(); }

    /// The last error, reset by reading it.
    unsigned lastError();
    /// Sets the last error (tests use it to stand for a failure of the bus).
    void setLastError(unsigned code) { m_lastError = code; }

signals:
    /// The answer to a request: the item's bytes.
    void requestCompleted(const QByteArray& data);

private:
    void onRequestFinished(QDBusPendingCallWatcher* watcher);
    void onServerGone(const QString& service, const QString& oldOwner, const QString& newOwner);
    void setErrorFrom(const QDBusError& error, bool isPoke);
    /// True when a call can go out on the conversation; otherwise sets the
    /// error that tells why not.
    bool isReady();
    /// Forgets the requests still unanswered, so that their answers are not
    /// taken for the next conversation's.
    void dropPendingRequests();
    /// True when the server the conversation was opened with no longer owns
    /// the service's name.
    bool isServerGone() const;

    QDBusConnection m_bus;
    bool m_initialized = false;
    quint32 m_conversation = 0;
    /// The server's own (unique) bus name, from the answer to the connect.
    QString m_serverOwner;
    unsigned m_lastError = 0;
    /// Requests issued whose answers have not been taken or dropped.
    int m_pendingRequests = 0;
    QElapsedTimer m_lastRequest;
    QDBusServiceWatcher* m_watcher = nullptr;
};

}  // namespace vexa::link
