// The wire format of the Google Cloud Translation API v2: endpoint, request
// URL and body, target codes, and the decoding of answers.
#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>

class GoogleTranslateApi
{
public:
    // Silence allowed while a request waits for its answer.
    static constexpr std::chrono::milliseconds DefaultTimeout{60000};
    // Time allowed for a whole exchange, from sending to the answer's last byte.
    static constexpr std::chrono::milliseconds DefaultDeadline{60000};
    // A translation of one text is a few kilobytes; more than this is no answer.
    static constexpr qint64 MaxAnswerBytes = 1024 * 1024;

    // https://translation.googleapis.com, or the base URL in the environment
    // variable VERBALO_TRANSLATE_URL when it is set and valid.
    static QUrl endpoint();

    // The code sent as "target": a name without "-" as it stands ("pt_BR",
    // "Base"); else its first "-"-piece when that is a known language code
    // ("pt-BR" gives "pt"); else the whole name ("zh-Hans").
    static QString targetCode(const QString &language);

    // base + "/language/translate/v2?key=" + the key, percent-encoded so that
    // no character of the key can change the request.
    static QUrl requestUrl(const QUrl &base, const QString &apiKey);

    // POST request for the URL with "Content-Type: application/json;
    // charset=utf-8" and the given inactivity time-out. Redirects are not
    // followed: the answer to a redirect is the redirect, which is no translation.
    static QNetworkRequest request(const QUrl &url, std::chrono::milliseconds timeout);

    // {"q": text, "target": target} plus "format": "text" for plain text.
    static QByteArray requestBody(const QString &text, const QString &target, bool plainText);

    // The first translation of a 200 answer, with HTML character references
    // decoded. Nothing for any other status, a body that is not a JSON object
    // with data.translations[] of objects holding string members
    // "translatedText" and "detectedSourceLanguage", or an empty array, or an
    // empty text. The text is plain; the caller holds it as its row holds texts.
    static std::optional<QString> decodeAnswer(int httpStatus, const QByteArray &body);
};
