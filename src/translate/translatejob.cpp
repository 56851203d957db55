// translateGoogle as a background job: one worker thread runs every request
// asynchronously; the calling thread only sees progress and the final step.
#include "translatejob.h"

#include "model/projectmodel.h"
#include "translate/googletranslateapi.h"
#include "translate/googletranslator.h"

TranslateJob::TranslateJob(ProjectModel &model, QObject *parent)
    : QObject(parent), m_model(model), m_endpoint(GoogleTranslateApi::endpoint()),
      m_timeout(GoogleTranslateApi::DefaultTimeout), m_deadline(GoogleTranslateApi::DefaultDeadline)
{
    m_thread.setObjectName(QStringLiteral("translate"));
    connect(this, &TranslateJob::keyEnded, this, &TranslateJob::onKeyEnded,
            Qt::QueuedConnection);
    connect(this, &TranslateJob::allKeysEnded, this, &TranslateJob::onAllKeysEnded,
            Qt::QueuedConnection);
}

TranslateJob::~TranslateJob()
{
    if (m_thread.isRunning()) {
        m_cancelled = true;
        m_thread.quit();
        m_thread.wait();
    }
}

void TranslateJob::start(const QList<int> &selection, const std::optional<QString> &apiKey)
{
    if (m_running || !m_tasks.isEmpty())
        return;
    m_running = true;
    const QStringList candidates = m_model.candidates();
    bool stopped = false;
    for (int index : selection) {
        if (index < 0 || index >= m_model.keys.size())
            continue;
        const QString &mk = m_model.keys.at(index);
        const auto row = m_model.data.constFind(mk);
        const std::optional<Entry> base = row == m_model.data.cend()
                                              ? std::nullopt
                                              : ProjectModel::baseEntryOf(*row, candidates);
        if (!base || !apiKey || apiKey->isEmpty()) {
            stopped = true;
            m_stoppedAt = mk;
            break;
        }
        m_tasks.append({mk, *base, *row});
    }
    if (m_tasks.isEmpty()) {
        QMetaObject::invokeMethod(this,
                                  stopped ? &TranslateJob::finishWithoutSaving
                                          : &TranslateJob::finishWithSave,
                                  Qt::QueuedConnection);
        return;
    }

    m_apiKey = *apiKey;
    m_translator = new GoogleTranslator(m_model, m_lock);
    m_translator->setEndpoint(m_endpoint);
    m_translator->setTimeout(m_timeout);
    m_translator->setDeadline(m_deadline);
    m_translator->moveToThread(&m_thread);
    // Everything the worker needs is connected before it starts, so no
    // callable made on this thread is handed over later.
    connect(&m_thread, &QThread::started, m_translator, [this] { pump(); });
    connect(&m_thread, &QThread::finished, m_translator, &QObject::deleteLater);
    connect(this, &TranslateJob::abortRequested, m_translator, &GoogleTranslator::abortAll,
            Qt::QueuedConnection);
    m_thread.start();
}

void TranslateJob::cancel()
{
    if (!m_thread.isRunning() || m_cancelled.exchange(true))
        return;
    emit abortRequested(QPrivateSignal());
}

void TranslateJob::pump()
{
    // A key with nothing to send ends inside translateKey; the loop picks up
    // the next one instead of recursing.
    m_pumping = true;
    while (!m_cancelled.load() && m_keysInFlight < m_maxKeysInFlight && m_next < m_tasks.size()) {
        const Task &task = m_tasks.at(m_next++);
        ++m_keysStarted;
        ++m_keysInFlight;
        m_translator->translateKey(m_apiKey, task.rowKey, task.base, task.row, [this] {
            --m_keysInFlight;
            ++m_keysFinished;
            emit keyEnded(m_keysFinished, m_keysStarted, QPrivateSignal());
            if (!m_pumping)
                pump();
        });
    }
    m_pumping = false;
    if (m_keysInFlight == 0 && (m_cancelled.load() || m_next == m_tasks.size()))
        emit allKeysEnded(QPrivateSignal());
}

void TranslateJob::onKeyEnded(int finished, int started)
{
    m_startedSeen = started;
    emit progress(finished, started, int(m_tasks.size()));
}

void TranslateJob::onAllKeysEnded()
{
    m_refused = m_translator->refusedAnswers();
    // Joining the worker orders all of its writes before the save reads them.
    m_thread.quit();
    m_thread.wait();
    m_translator = nullptr;
    finishWithSave();
}

void TranslateJob::finishWithoutSaving()
{
    m_running = false;
    emit finished(CommandOutcome{});
}

void TranslateJob::finishWithSave()
{
    m_model.save();
    m_running = false;
    const QString message =
        m_refused == 0 ? QString()
                       : tr("%n translation(s) were not filled in: their format specifiers do not "
                            "match the base text.", "", m_refused);
    emit finished(CommandOutcome{.saves = 1, .reloads = 1, .message = message});
}
