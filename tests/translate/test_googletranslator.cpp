// The Google client against a fake service on 127.0.0.1: the exact requests,
// and what each kind of answer leaves in the row.
#include "fakehttpserver.h"
#include "model/projectmodel.h"
#include "translate/googletranslateapi.h"
#include "translate/googletranslator.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QJsonObject json(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object();
}

class GoogleTranslatorTest : public ::testing::Test
{
protected:
    GoogleTranslatorTest() : translator(model, lock) { translator.setEndpoint(server.url()); }

    // Runs translateKey for one row key and waits for its completion.
    int translate(const QString &rowKey, const QString &apiKey = QStringLiteral("k"))
    {
        const Row row = model.data.value(rowKey);
        const Entry base = row.value(QStringLiteral("en"));
        bool done = false;
        QEventLoop loop;
        const int sent = translator.translateKey(apiKey, rowKey, base, row, [&] {
            done = true;
            loop.quit();
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (!done)
            loop.exec();
        EXPECT_TRUE(done);
        return sent;
    }

    FakeHttpServer server;
    ProjectModel model;
    std::mutex lock;
    GoogleTranslator translator;
};

} // namespace

TEST(GoogleTranslateApi, TargetCodesAndEndpoint)
{
    const std::pair<const char *, const char *> codes[] = {
        {"pt-BR", "pt"}, {"zh-Hans", "zh-Hans"}, {"pt_BR", "pt_BR"},
        {"Base", "Base"}, {"-fr--CA", "fr"}};
    for (const auto &[language, target] : codes)
        EXPECT_EQ(GoogleTranslateApi::targetCode(language), target) << language;

    qunsetenv("VERBALO_TRANSLATE_URL");
    EXPECT_EQ(GoogleTranslateApi::endpoint(), QUrl("https://translation.googleapis.com"));
    qputenv("VERBALO_TRANSLATE_URL", "http://127.0.0.1:9/api/");
    EXPECT_EQ(GoogleTranslateApi::requestUrl(GoogleTranslateApi::endpoint(), "x").toString(),
              "http://127.0.0.1:9/api/language/translate/v2?key=x");
    qputenv("VERBALO_TRANSLATE_URL", "not a url");
    EXPECT_EQ(GoogleTranslateApi::endpoint(), QUrl("https://translation.googleapis.com"));
    qunsetenv("VERBALO_TRANSLATE_URL");
}

TEST_F(GoogleTranslatorTest, SendsOnePostPerMissingLanguageWithTheExactRequest)
{
    model.languages = {"en", "de", "pt-BR", "zh-Hans", "pt_BR"};
    const Entry base{"title", "Caf\u00e9 \\\"menu\\\" & more", QStringLiteral("Heading")};
    model.data.insert("title-Localizable.strings", {{"en", base}, {"de", {"title", "Titel", {}}}});
    model.data.insert("about.txt-about.txt", {{"en", {"about.txt", "About\nus", {}}}});
    server.setHandler([](const FakeRequest &r) {
        return FakeResponse{200, FakeHttpServer::translation(json(r.body)["target"].toString())};
    });

    EXPECT_EQ(translate("title-Localizable.strings", "a&b #c+d=/?"), 3);
    ASSERT_EQ(server.requests().size(), 3);
    QStringList targets;
    for (const FakeRequest &r : server.requests()) {
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.path(), "/language/translate/v2");
        EXPECT_EQ(r.query(), "key=a%26b%20%23c%2Bd%3D%2F%3F");
        EXPECT_EQ(r.headers.value("content-type"), "application/json; charset=utf-8");
        const QJsonObject body = json(r.body);
        EXPECT_EQ(body.size(), 2);
        EXPECT_EQ(body["q"].toString(), base.value);
        targets << body["target"].toString();
    }
    targets.sort();
    EXPECT_EQ(targets, (QStringList{"pt", "pt_BR", "zh-Hans"}));

    // The row gains the answers and a copy of the base entry under "Base".
    const Row row = model.data.value("title-Localizable.strings");
    EXPECT_EQ(row.keys(), (QList<QString>{"Base", "de", "en", "pt-BR", "pt_BR", "zh-Hans"}));
    EXPECT_EQ(row.value("Base"), base);
    EXPECT_EQ(row.value("de").value, "Titel");
    EXPECT_EQ(row.value("pt-BR"), (Entry{"title", "pt", QStringLiteral("Heading")}));

    // A whole .txt file is sent as plain text.
    model.languages = {"en", "fr"};
    EXPECT_EQ(translate("about.txt-about.txt"), 1);
    const QJsonObject body = json(server.requests().last().body);
    EXPECT_EQ(body, (QJsonObject{{"q", "About\nus"}, {"target", "fr"}, {"format", "text"}}));
}

// One language per kind of answer, the handler picking by target: only
// answers that arrive in time, whole and decodable are kept.
TEST_F(GoogleTranslatorTest, KeepsOnlyAnswersThatDecodeArriveInTimeAndEnd)
{
    translator.setTimeout(std::chrono::milliseconds(500));
    translator.setDeadline(std::chrono::milliseconds(1500));
    const QByteArray good = FakeHttpServer::translation("ok");
    const QByteArray huge =
        QByteArray(good).insert(1, QByteArray(GoogleTranslateApi::MaxAnswerBytes, ' '));
    const QMap<QString, FakeResponse> answers{
        {"de", {200, FakeHttpServer::translation("L&#39;homme &amp; la mer &eacute;")}},
        {"fr", {403, FakeHttpServer::translation("forbidden")}},
        {"it", {200, "<html>not json</html>"}},
        {"ja", {200, R"({"data":{"translations":[{"translatedText":"no source"}]}})"}},
        {"ko",
         {200,
          R"({"data":{"translations":[{"translatedText":"first","detectedSourceLanguage":"en"},)"
          R"({"translatedText":"second","detectedSourceLanguage":"en"}]}})"}},
        {"nl", {200, R"({"data":{"translations":[]}})"}},
        {"ru", {200, R"({"translations":[{"translatedText":"x","detectedSourceLanguage":"en"}]})"}},
        // Plain text is held escaped, so a save writes back what arrived.
        {"pt", {200, FakeHttpServer::translation("C:\\new\\ \"q\"\nx")}},
        {"uk", {200, FakeHttpServer::translation("")}},
        {"cs", {.answer = false}}, // silent: the time-out ends it
        {"da", {.body = good, .streamBytes = 16, .streamEveryMs = 50}}, // never silent, never done
        {"el", {.body = huge}},                                         // valid, but too big
        {"he", {.status = 302, .location = "/moved"}},
    };
    model.languages = QStringList{"en"} + answers.keys();
    // Entries of languages outside the project do not survive a merge.
    model.data.insert("k-L.strings", {{"en", {"k", "v", {}}}, {"xx", {"k", "gone", {}}}});
    server.setHandler([&](const FakeRequest &r) {
        if (r.path() == "/moved")
            return FakeResponse{200, FakeHttpServer::translation("fetched elsewhere")};
        return answers.value(json(r.body)["target"].toString());
    });

    EXPECT_EQ(translate("k-L.strings"), int(answers.size()));
    const Row row = model.data.value("k-L.strings");
    EXPECT_EQ(row.value("de").value, u"L'homme & la mer \u00e9");
    EXPECT_EQ(row.value("ko").value, "first");
    EXPECT_EQ(row.value("pt").value, "C:\\\\new\\\\ \\\"q\\\"\\nx");
    EXPECT_EQ(row.keys(), (QList<QString>{"Base", "de", "en", "ko", "pt"}));
    EXPECT_EQ(translator.requestsInFlight(), 0);
}

TEST_F(GoogleTranslatorTest, AnswersWhoseSpecifiersDifferAreNotWritten)
{
    // Services move and drop specifiers; only the French answer reads the
    // base text's arguments, in another order.
    const QMap<QString, QString> answers{{"de", "%d von %@"}, {"fr", "%2$@ sur %1$@"}};
    model.languages = {"en", "de", "fr"};
    model.data.insert("k-L.strings", {{"en", {"k", "%1$@ of %2$@", {}}}});
    server.setHandler([&](const FakeRequest &r) {
        return FakeResponse{
            200, FakeHttpServer::translation(answers.value(json(r.body)["target"].toString()))};
    });
    EXPECT_EQ(translate("k-L.strings"), 2);
    EXPECT_EQ(model.data.value("k-L.strings").keys(), (QList<QString>{"Base", "en", "fr"}));
    EXPECT_EQ(translator.refusedAnswers(), 1);
}

TEST_F(GoogleTranslatorTest, AnUnreachableServiceEndsTheCallAndLeavesTheRowAsItWas)
{
    model.languages = {"en", "de"};
    model.data.insert("k-L.strings", {{"en", {"k", "v", {}}}, {"xx", {"k", "stays", {}}}});
    translator.setEndpoint(QUrl("http://127.0.0.1:1"));
    EXPECT_EQ(translate("k-L.strings"), 1);
    EXPECT_EQ(model.data.value("k-L.strings").keys(), (QList<QString>{"en", "xx"}));
}
