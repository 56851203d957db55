// translateGoogle: machine translation of the selected rows' missing
// languages, in the background, with progress and cancel.
#pragma once

#include "editor/commandoutcome.h"
#include "model/row.h"

#include <QList>
#include <QObject>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>

class GoogleTranslator;
class ProjectModel;

// The selection is read on the calling (main) thread when start() runs. From
// then until finished() the job writes model.data from its worker thread
// (under lock()): the caller must not read or write the model meanwhile,
// except while holding lock(). The final step, on the calling thread once
// every started key has ended, saves the project and emits finished().
class TranslateJob : public QObject
{
    Q_OBJECT

public:
    explicit TranslateJob(ProjectModel &model, QObject *parent = nullptr);
    // Cancels and waits for the worker when still running; emits nothing.
    ~TranslateJob() override;

    // Before start(): the service's base URL, the per-request inactivity
    // time-out and total deadline, and how many keys may have requests in
    // flight at once.
    void setEndpoint(const QUrl &endpoint) { m_endpoint = endpoint; }
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    void setDeadline(std::chrono::milliseconds deadline) { m_deadline = deadline; }
    void setMaxKeysInFlight(int keys) { m_maxKeysInFlight = qMax(1, keys); }

    // Walks the selection (ascending indexes into model.keys) and queues every
    // row up to the first that has no row or no base entry; with no API key
    // (absent or empty) nothing is queued. Then translates the queued keys.
    // finished() follows in every case, from the event loop: with nothing
    // queued because it stopped, with an outcome that changes nothing;
    // otherwise after the project was saved once.
    void start(const QList<int> &selection, const std::optional<QString> &apiKey);

    // No key starts after this; requests in flight are aborted. Answers
    // already merged stay, and the final step still runs.
    void cancel();

    bool isRunning() const { return m_running; }
    // Keys queued by start().
    int keyCount() const { return int(m_tasks.size()); }
    // Keys started so far, as last reported by progress().
    int keysStarted() const { return m_startedSeen; }
    // The row key of the selected row that stopped start() (no row or no base
    // entry, or no API key); empty when every selected row was queued.
    const QString &stoppedAt() const { return m_stoppedAt; }
    std::mutex &lock() { return m_lock; }
    // Answers not written for their format specifiers; their count is also
    // the message of finished()'s outcome.
    int refusedAnswers() const { return m_refused; }

signals:
    // On the calling thread: keys that have ended, of keys started so far, of
    // keys queued.
    void progress(int finished, int started, int total);
    void finished(const CommandOutcome &outcome);

    // Internal: raised on the worker thread, delivered on the calling thread.
    void keyEnded(int finished, int started, QPrivateSignal);
    void allKeysEnded(QPrivateSignal);
    // Internal: raised on the calling thread, delivered on the worker thread.
    void abortRequested(QPrivateSignal);

private:
    struct Task
    {
        QString rowKey;
        Entry base;
        Row row;
    };

    void pump();
    void onKeyEnded(int finished, int started);
    void onAllKeysEnded();
    void finishWithoutSaving();
    void finishWithSave();

    ProjectModel &m_model;
    std::mutex m_lock;
    QUrl m_endpoint;
    std::chrono::milliseconds m_timeout;
    std::chrono::milliseconds m_deadline;
    int m_maxKeysInFlight = 64;
    QString m_apiKey;
    QString m_stoppedAt;
    QList<Task> m_tasks;
    QThread m_thread;
    GoogleTranslator *m_translator = nullptr;
    std::atomic<bool> m_cancelled{false};
    bool m_running = false;
    int m_startedSeen = 0;
    int m_refused = 0;

    // Touched on the worker thread only.
    qsizetype m_next = 0;
    int m_keysInFlight = 0;
    int m_keysStarted = 0;
    int m_keysFinished = 0;
    bool m_pumping = false;
};
