// The Google translation client on Qt Network.
#include "googletranslator.h"

#include "common/log.h"
#include "model/projectmodel.h"
#include "model/translationcheck.h"
#include "translate/googletranslateapi.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <memory>

namespace {
constexpr int kManagers = 8;
} // namespace

// What the requests of one translateKey call share: the working row and the
// count of requests that have not ended yet.
struct GoogleTranslator::KeyCall
{
    QString rowKey;
    Entry base;
    Row working;
    int pending = 0;
    std::function<void()> completion;
};

GoogleTranslator::GoogleTranslator(ProjectModel &model, std::mutex &lock, QObject *parent)
    : QObject(parent), m_model(model), m_lock(lock), m_endpoint(GoogleTranslateApi::endpoint()),
      m_timeout(GoogleTranslateApi::DefaultTimeout), m_deadline(GoogleTranslateApi::DefaultDeadline)
{
}

GoogleTranslator::~GoogleTranslator()
{
    // Nothing may call back into the owner while it tears this object down.
    for (auto it = m_inFlight.cbegin(); it != m_inFlight.cend(); ++it) {
        QNetworkReply *reply = it.key();
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
}

QNetworkAccessManager *GoogleTranslator::nextManager()
{
    if (m_managers.size() < kManagers) {
        auto *manager = new QNetworkAccessManager(this);
        m_managers.append(manager);
        return manager;
    }
    QNetworkAccessManager *manager = m_managers.at(m_nextManager);
    m_nextManager = (m_nextManager + 1) % kManagers;
    return manager;
}

int GoogleTranslator::translateKey(const QString &apiKey, const QString &rowKey,
                                   const Entry &baseEntry, const Row &row,
                                   std::function<void()> completion)
{
    auto call = std::make_shared<KeyCall>();
    call->rowKey = rowKey;
    call->base = baseEntry;
    call->working.insert(QStringLiteral("Base"), baseEntry);
    call->completion = std::move(completion);

    const bool plainText = rowKey.endsWith(QLatin1String(".txt"));
    QList<std::pair<QString, QByteArray>> requests;
    for (const QString &language : m_model.languages) {
        const auto own = row.constFind(language);
        if (own != row.cend()) {
            call->working.insert(language, own.value());
            continue;
        }
        requests.append({language, GoogleTranslateApi::requestBody(
                                       baseEntry.value, GoogleTranslateApi::targetCode(language),
                                       plainText)});
    }
    if (requests.isEmpty()) {
        call->completion();
        return 0;
    }

    const QNetworkRequest request =
        GoogleTranslateApi::request(GoogleTranslateApi::requestUrl(m_endpoint, apiKey), m_timeout);
    call->pending = int(requests.size());
    for (const auto &[language, body] : requests) {
        QNetworkReply *reply = nextManager()->post(request, body);
        m_inFlight.insert(reply, {call, language, QString(), QByteArray()});
        // The transfer time-out only counts silence: an answer that trickles on
        // without end is ended by the deadline, one that grows without end by
        // its size, before it exhausts memory.
        auto *deadline = new QTimer(reply);
        deadline->setSingleShot(true);
        const double seconds = double(m_deadline.count()) / 1000.0;
        connect(deadline, &QTimer::timeout, this, [this, reply, seconds] {
            abortFor(reply, QStringLiteral("no complete answer within %1 s").arg(seconds));
        });
        connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
        deadline->start(m_deadline);
        // Qt's network thread reads on without bound and tells this thread
        // only now and then, so its buffer is capped and the answer taken out
        // and counted here as it arrives; an announced length is checked at
        // once. The cap reaches that thread only once the request has been
        // handed to it, on the next turn of the event loop.
        QMetaObject::invokeMethod(
            reply, [reply] { reply->setReadBufferSize(GoogleTranslateApi::MaxAnswerBytes); },
            Qt::QueuedConnection);
        const auto tooLarge = [this, reply] {
            abortFor(reply, QStringLiteral("the answer is larger than %1 bytes")
                                .arg(GoogleTranslateApi::MaxAnswerBytes));
        };
        connect(reply, &QNetworkReply::metaDataChanged, this, [reply, tooLarge] {
            if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong()
                > GoogleTranslateApi::MaxAnswerBytes)
                tooLarge();
        });
        connect(reply, &QNetworkReply::readyRead, this, [this, reply, tooLarge] {
            const auto request = m_inFlight.find(reply);
            if (request == m_inFlight.end() || !request->abortReason.isEmpty())
                return;
            request->answer += reply->readAll();
            if (request->answer.size() > GoogleTranslateApi::MaxAnswerBytes)
                tooLarge();
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            const InFlight request = m_inFlight.take(reply);
            const std::shared_ptr<KeyCall> &call = request.call;
            if (!call)
                return;
            const QString &language = request.language;
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            std::optional<QString> text;
            if (!request.abortReason.isEmpty()) {
                Log::line(QStringLiteral("Translation into ") + language
                          + QStringLiteral(" failed: ") + request.abortReason);
            } else if (status >= 300 && status < 400) {
                Log::line(QStringLiteral("Translation into ") + language
                          + QStringLiteral(" failed: the service redirected the request (HTTP %1), "
                                           "which is not followed")
                                .arg(status));
            } else if (reply->error() == QNetworkReply::NoError) {
                text = GoogleTranslateApi::decodeAnswer(status, request.answer + reply->readAll());
            }
            reply->deleteLater();
            if (text) {
                const QString held = ProjectModel::heldFor(call->rowKey, *text);
                // Services drop, split or move specifiers ("% @"); such a
                // text would crash or garble the app, so it is not written.
                if (!TranslationCheck::specifiersMatch(call->base.value, held)) {
                    Log::line(QStringLiteral("Translation into ") + language
                              + QStringLiteral(" failed: its format specifiers do not match the base text"));
                    ++m_refused;
                    text.reset();
                } else {
                    text = held;
                }
            }
            if (text) {
                std::lock_guard<std::mutex> guard(m_lock);
                call->working.insert(language, VariantFiles::machineTranslated(
                                                   call->rowKey,
                                                   Entry{call->base.key, *text,
                                                         call->base.comment},
                                                   call->base));
                m_model.data.insert(call->rowKey, call->working);
            }
            if (--call->pending == 0) {
                // Moved out first: the completion may start the next key.
                const std::function<void()> done = std::move(call->completion);
                done();
            }
        });
    }
    return int(requests.size());
}

void GoogleTranslator::abortFor(QNetworkReply *reply, const QString &reason)
{
    const auto request = m_inFlight.find(reply);
    if (request == m_inFlight.end() || !request->abortReason.isEmpty())
        return;
    request->abortReason = reason;
    reply->abort();
}

void GoogleTranslator::abortAll()
{
    const QList<QNetworkReply *> replies = m_inFlight.keys();
    for (QNetworkReply *reply : replies) {
        if (m_inFlight.contains(reply))
            reply->abort();
    }
}
