// The Google client against a fake service on 127.0.0.1: the exact requests
// and what each kind of answer leaves in the row; then the background job over
// many keys answering in any order, its cancel, and its save on disk.
#include "common/log.h"
#include "fakehttpserver.h"
#include "model/projectmodel.h"
#include "testsupport.h"
#include "translate/googletranslateapi.h"
#include "translate/googletranslator.h"
#include "translate/translatejob.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <atomic>
#include <thread>
#include <unistd.h>

namespace {

QJsonObject json(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object();
}

// Answers its one connection with the start of a reply and then bytes without
// end, from a thread of its own and as fast as the socket takes them: faster
// than the client's thread hears of them.
class FloodServer
{
public:
    FloodServer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(m_listener, 1);
        socklen_t size = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~FloodServer()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port)); }
    // What was sent before the client closed the connection.
    qint64 sent() const { return m_sent; }
    bool closed() const { return m_closed; }

private:
    void serve()
    {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            return;
        char request[4096];
        ::recv(client, request, sizeof request, 0);
        const QByteArray head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "2c\r\n{\"data\":{\"translations\":[{\"translatedText\":\"\r\n";
        const QByteArray chunk = "10000\r\n" + QByteArray(64 * 1024, 'x') + "\r\n";
        for (bool more = ::send(client, head.constData(), size_t(head.size()), MSG_NOSIGNAL) > 0; more;) {
            const ssize_t written = ::send(client, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
            more = written > 0;
            m_sent += std::max<ssize_t>(written, 0);
        }
        ::close(client);
        m_closed = true;
    }

    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<qint64> m_sent{0};
    std::atomic<bool> m_closed{false};
    std::thread m_thread;
};

class GoogleTranslatorTest : public ::testing::Test
{
protected:
    GoogleTranslatorTest() : translator(model, lock) { translator.setEndpoint(server.url()); }

    // Runs translateKey for one row key and waits for its completion.
    int translate(const QString &rowKey, const QString &apiKey = QStringLiteral("k"))
    {
        const Row row = model.data.value(rowKey);
        bool done = false;
        const int sent =
            translator.translateKey(apiKey, rowKey, row.value("en"), row, [&] { done = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
        return sent;
    }

    // A project on disk whose keys only English has.
    void makeProject(int keys)
    {
        QByteArray strings;
        for (int i = 0; i < keys; ++i) {
            strings += QStringLiteral("\"k%1\" = \"text %1\";\n").arg(i).toUtf8();
            everyRow << i;
        }
        writeFile(dir.path(), "en.lproj/L.strings", strings);
        writeFile(dir.path(), "de.lproj/L.strings", "\n");
        writeFile(dir.path(), "fr.lproj/L.strings", "\n");
        model = loadProject(dir.path());
    }

    CommandOutcome run(TranslateJob &job)
    {
        job.setEndpoint(server.url());
        QSignalSpy finished(&job, &TranslateJob::finished);
        job.start(everyRow, QStringLiteral("key"));
        EXPECT_TRUE(finished.wait(30000));
        EXPECT_EQ(finished.size(), 1);
        EXPECT_FALSE(job.isRunning());
        return finished.isEmpty() ? CommandOutcome{}
                                  : finished.first().first().value<CommandOutcome>();
    }

    FakeHttpServer server;
    QTemporaryDir dir;
    QList<int> everyRow;
    ProjectModel model;
    std::mutex lock;
    GoogleTranslator translator;
};

} // namespace

TEST_F(GoogleTranslatorTest, SendsOnePostPerMissingLanguageWithTheExactRequest)
{
    qunsetenv("VERBALO_TRANSLATE_URL");
    EXPECT_EQ(GoogleTranslateApi::endpoint(), QUrl("https://translation.googleapis.com"));
    qputenv("VERBALO_TRANSLATE_URL", "http://127.0.0.1:9/api/");
    EXPECT_EQ(GoogleTranslateApi::requestUrl(GoogleTranslateApi::endpoint(), "x").toString(),
              "http://127.0.0.1:9/api/language/translate/v2?key=x");
    qunsetenv("VERBALO_TRANSLATE_URL");

    // A target is the first "-"-piece of a name when that is a known language code.
    model.languages = {"en", "de", "pt-BR", "zh-Hans", "pt_BR", "-fr--CA"};
    const Entry base{"title", "Caf\u00e9 \\\"menu\\\" & more", QStringLiteral("Heading")};
    model.data.insert("title-Localizable.strings", {{"en", base}, {"de", {"title", "Titel", {}}}});
    model.data.insert("about.txt-about.txt", {{"en", {"about.txt", "About\nus", {}}}});
    server.setHandler([](const FakeRequest &r) {
        return FakeResponse{200, FakeHttpServer::translation(json(r.body)["target"].toString())};
    });

    EXPECT_EQ(translate("title-Localizable.strings", "a&b #c+d=/?"), 4);
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
    EXPECT_EQ(targets, (QStringList{"fr", "pt", "pt_BR", "zh-Hans"}));

    // The row gains the answers and a copy of the base entry under "Base".
    const Row row = model.data.value("title-Localizable.strings");
    EXPECT_EQ(row.keys(),
              (QList<QString>{"-fr--CA", "Base", "de", "en", "pt-BR", "pt_BR", "zh-Hans"}));
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
        {"tr", {201, FakeHttpServer::translation("created")}}, // only 200 carries an answer
        {"it", {200, "<html>not json</html>"}},
        {"ja", {200, R"({"data":{"translations":[{"translatedText":"no source"}]}})"}},
        {"nl", {200, R"({"data":{"translations":[]}})"}},
        {"ru", {200, R"({"translations":[{"translatedText":"x","detectedSourceLanguage":"en"}]})"}},
        // Plain text is held escaped, so a save writes back what arrived.
        {"pt", {200, FakeHttpServer::translation("C:\\new\\ \"q\"\nx")}},
        {"uk", {200, FakeHttpServer::translation("")}},
        {"sv", {200, FakeHttpServer::translation("%d v")}}, // reads an argument "v" lacks
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
    EXPECT_EQ(row.value("pt").value, "C:\\\\new\\\\ \\\"q\\\"\\nx");
    EXPECT_EQ(row.keys(), (QList<QString>{"Base", "de", "en", "pt"}));
    EXPECT_EQ(translator.refusedAnswers(), 1);
    EXPECT_EQ(translator.requestsInFlight(), 0);

    // A flood is cut off at the cap: the client stops reading there, rather
    // than taking in hundreds of megabytes before it notices.
    FloodServer flood;
    translator.setEndpoint(flood.url());
    model.languages = {"en", "fi"};
    Log::setSink(Log::Sink::StandardOutput);
    testing::internal::CaptureStdout();
    EXPECT_EQ(translate("k-L.strings"), 1);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("Translation into fi failed: the answer is larger than"), std::string::npos) << log;
    EXPECT_TRUE(QTest::qWaitFor([&] { return flood.closed(); }, 20000));
    EXPECT_LT(flood.sent(), 64 * 1024 * 1024);
}

TEST_F(GoogleTranslatorTest, AnUnreachableServiceEndsTheCallAndLeavesTheRowAsItWas)
{
    model.languages = {"en", "de"};
    model.data.insert("k-L.strings", {{"en", {"k", "v", {}}}, {"xx", {"k", "stays", {}}}});
    translator.setEndpoint(QUrl("http://127.0.0.1:1"));
    EXPECT_EQ(translate("k-L.strings"), 1);
    EXPECT_EQ(model.data.value("k-L.strings").keys(), (QList<QString>{"en", "xx"}));
}

// Under ThreadSanitizer this also checks that every merge holds the lock
// under which the model is read meanwhile.
TEST_F(GoogleTranslatorTest, JobManyKeysAnsweringInAnyOrderAllLandAndAreSaved)
{
    // The answer names the target and the text, so a mix-up would show.
    server.setHandler([](const FakeRequest &r) {
        const QJsonObject body = QJsonDocument::fromJson(r.body).object();
        return FakeResponse{
            200,
            FakeHttpServer::translation(body["target"].toString() + ":" + body["q"].toString()),
            int(QRandomGenerator::global()->bounded(30))};
    });
    makeProject(60);
    TranslateJob job(model);
    job.setMaxKeysInFlight(7);
    QSignalSpy progress(&job, &TranslateJob::progress);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &job, [&] {
        std::lock_guard<std::mutex> guard(job.lock());
        for (const Row &row : std::as_const(model.data))
            EXPECT_FALSE(row.isEmpty());
    });
    poll.start(1);

    EXPECT_EQ(run(job).saves, 1);
    poll.stop();
    EXPECT_EQ(server.requests().size(), 120);
    EXPECT_EQ(progress.value(progress.size() - 1), (QList<QVariant>{60, 60, 60}));
    for (int i = 0; i < 60; ++i) {
        const Row row = model.data.value(QStringLiteral("k%1-L.strings").arg(i));
        EXPECT_EQ(row.value("de").value, QStringLiteral("de:text %1").arg(i));
        EXPECT_EQ(row.value("fr").value, QStringLiteral("fr:text %1").arg(i));
    }
    EXPECT_TRUE(readFile(dir.filePath("fr.lproj/L.strings")).contains("\"k42\" = \"fr:text 42\";"));
}

TEST_F(GoogleTranslatorTest, JobCancelSendsNoNewRequestsAndKeepsWhatArrived)
{
    makeProject(40);
    server.setHandler([](const FakeRequest &) {
        return FakeResponse{200, FakeHttpServer::translation("done"), 150};
    });
    TranslateJob job(model);
    job.setMaxKeysInFlight(2);
    QObject::connect(&job, &TranslateJob::progress, &job, [&job](int done) {
        if (done == 2)
            job.cancel();
    });
    EXPECT_EQ(run(job).saves, 1);
    // Requests already on the wire may reach the server after the job ended;
    // none belongs to a key that was not started before the cancel.
    QTest::qWait(300);
    EXPECT_LT(job.keysStarted(), 20);
    EXPECT_LE(server.requests().size(), 2 * job.keysStarted());
    EXPECT_TRUE(readFile(dir.filePath("de.lproj/L.strings")).contains("\"k0\" = \"done\";"));
}
