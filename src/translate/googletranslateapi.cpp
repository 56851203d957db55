// The wire format of the Google Cloud Translation API v2.
#include "googletranslateapi.h"

#include "common/languages.h"
#include "model/htmlentities.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

QUrl GoogleTranslateApi::endpoint()
{
    const QByteArray configured = qgetenv("VERBALO_TRANSLATE_URL");
    if (!configured.isEmpty()) {
        const QUrl url(QString::fromUtf8(configured), QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty())
            return url;
    }
    return QUrl(QStringLiteral("https://translation.googleapis.com"));
}

QString GoogleTranslateApi::targetCode(const QString &language)
{
    if (!language.contains(u'-'))
        return language;
    const QStringList pieces = language.split(u'-', Qt::SkipEmptyParts);
    if (!pieces.isEmpty() && Languages::isKnownCode(pieces.first()))
        return pieces.first();
    return language;
}

QUrl GoogleTranslateApi::requestUrl(const QUrl &base, const QString &apiKey)
{
    QUrl url = base;
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path + QStringLiteral("/language/translate/v2"));
    // Every byte outside the unreserved set is escaped, so "&", "#", "+", "="
    // and spaces stay part of the key.
    const QByteArray encoded = QUrl::toPercentEncoding(apiKey);
    url.setQuery(QStringLiteral("key=") + QString::fromLatin1(encoded), QUrl::StrictMode);
    return url;
}

QNetworkRequest GoogleTranslateApi::request(const QUrl &url, std::chrono::milliseconds timeout)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/json; charset=utf-8"));
    request.setTransferTimeout(int(timeout.count()));
    // Followed, a POST comes back as a GET without its body, and whatever that
    // fetches would be taken for the translation.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    return request;
}

QByteArray GoogleTranslateApi::requestBody(const QString &text, const QString &target,
                                           bool plainText)
{
    QJsonObject body{{QStringLiteral("q"), text}, {QStringLiteral("target"), target}};
    if (plainText)
        body.insert(QStringLiteral("format"), QStringLiteral("text"));
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

std::optional<QString> GoogleTranslateApi::decodeAnswer(int httpStatus, const QByteArray &body)
{
    if (httpStatus != 200 || body.isEmpty())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue data = document.object().value(QLatin1String("data"));
    if (!data.isObject())
        return std::nullopt;
    const QJsonValue translations = data.toObject().value(QLatin1String("translations"));
    if (!translations.isArray())
        return std::nullopt;
    // Every element must decode, as a typed decoder of the whole answer would.
    const QJsonArray list = translations.toArray();
    for (const QJsonValue &item : list) {
        if (!item.isObject())
            return std::nullopt;
        const QJsonObject o = item.toObject();
        if (!o.value(QLatin1String("translatedText")).isString() ||
            !o.value(QLatin1String("detectedSourceLanguage")).isString())
            return std::nullopt;
    }
    if (list.isEmpty())
        return std::nullopt;
    // An empty answer translates nothing.
    const QString text =
        removingHTMLEntities(list.first().toObject().value(QLatin1String("translatedText")).toString());
    if (text.isEmpty())
        return std::nullopt;
    return text;
}
