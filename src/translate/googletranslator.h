// The Google translation client: translateKey sends one request per missing
// language of a row and merges the answers into the model under the command's
// lock. Lives on one thread; every request is asynchronous on that thread.
#pragma once

#include "model/row.h"

#include <QList>
#include <QObject>
#include <QHash>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

class ProjectModel;
class QNetworkAccessManager;
class QNetworkReply;

class GoogleTranslator : public QObject
{
    Q_OBJECT

public:
    // The answers of this translator are merged into model.data while `lock`
    // is held; whoever else touches model.data meanwhile must hold it too.
    GoogleTranslator(ProjectModel &model, std::mutex &lock, QObject *parent = nullptr);
    ~GoogleTranslator() override;

    void setEndpoint(const QUrl &endpoint) { m_endpoint = endpoint; }
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Each request is aborted, and fails, when its whole exchange takes longer.
    void setDeadline(std::chrono::milliseconds deadline) { m_deadline = deadline; }

    // For every language of model.languages that `row` lacks, posts the base
    // value for that language's target code ("format": "text" when the row key
    // ends in ".txt") without waiting. Each 200 answer that decodes puts its
    // language into the key's working row (the base entry under "Base", the
    // row's entries of project languages, the answers so far) and replaces
    // model.data[rowKey] by a copy of it, under the lock. `completion` runs on
    // this object's thread once every request of the call has ended by answer,
    // failure, time-out or abort; at once, before returning, when nothing is
    // sent. A request fails (and is logged) when it outlives the deadline, when
    // its answer grows past GoogleTranslateApi::MaxAnswerBytes (it is aborted
    // then), or when the service redirects it. Returns the number of requests
    // sent. Call on this object's thread.
    int translateKey(const QString &apiKey, const QString &rowKey, const Entry &baseEntry,
                     const Row &row, std::function<void()> completion);

    // Ends every request in flight; their answers are dropped.
    void abortAll();

    int requestsInFlight() const { return int(m_inFlight.size()); }
    // Answers not written because their format specifiers do not match the
    // base text (TranslationCheck::specifiersMatch); each is logged as a
    // failed translation. Readable from any thread.
    int refusedAnswers() const { return m_refused.load(); }

private:
    struct KeyCall;
    // A request's share of its call. Kept here rather than in the reply's slot,
    // so the call is released on this object's thread: Qt may destroy a slot
    // object on one of its own threads, out of sight of the thread checker.
    struct InFlight
    {
        std::shared_ptr<KeyCall> call;
        QString language;
        QString abortReason; // set when this client ended the request itself
        QByteArray answer;   // what has arrived so far
    };

    // Ends the request in flight, to fail it with the reason.
    void abortFor(QNetworkReply *reply, const QString &reason);

    QNetworkAccessManager *nextManager();

    ProjectModel &m_model;
    std::mutex &m_lock;
    QUrl m_endpoint;
    std::chrono::milliseconds m_timeout;
    std::chrono::milliseconds m_deadline;
    // A few managers side by side: each opens at most six HTTP/1.1 connections
    // to a host, which would serialise the requests of a large selection.
    QList<QNetworkAccessManager *> m_managers;
    int m_nextManager = 0;
    QHash<QNetworkReply *, InFlight> m_inFlight;
    std::atomic<int> m_refused{0};
};
