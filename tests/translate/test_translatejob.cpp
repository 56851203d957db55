// translateGoogle as a background job: many keys answering in any order,
// cancel, and the final save on disk.
#include "fakehttpserver.h"
#include "model/projectmodel.h"
#include "testsupport.h"
#include "translate/translatejob.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TranslateJobTest : public ::testing::Test
{
protected:
    ProjectModel project(int keys, const QStringList &languages = {"en", "de", "fr"})
    {
        QByteArray strings;
        for (int i = 0; i < keys; ++i) {
            strings +=
                "\"k" + QByteArray::number(i) + "\" = \"text " + QByteArray::number(i) + "\";\n";
            everyRow << i;
        }
        for (const QString &language : languages)
            writeFile(dir.path(), language + ".lproj/L.strings",
                      language == languages.first() ? strings : QByteArray("\n"));
        return loadProject(dir.path());
    }

    CommandOutcome run(TranslateJob &job, const QList<int> &selection,
                       const std::optional<QString> &key = QStringLiteral("key"))
    {
        job.setEndpoint(server.url());
        QSignalSpy finished(&job, &TranslateJob::finished);
        job.start(selection, key);
        EXPECT_TRUE(finished.wait(30000));
        EXPECT_EQ(finished.size(), 1);
        EXPECT_FALSE(job.isRunning());
        return finished.isEmpty() ? CommandOutcome{}
                                  : finished.first().first().value<CommandOutcome>();
    }

    QString file(const QString &language) const
    {
        return QString::fromUtf8(
            readFile(QDir(dir.path()).filePath(language + ".lproj/L.strings")));
    }

    FakeHttpServer server;
    QTemporaryDir dir;
    QList<int> everyRow;
};

} // namespace

// Under ThreadSanitizer this also checks that every merge holds the lock
// under which the model is read meanwhile.
TEST_F(TranslateJobTest, ManyKeysAnsweringInAnyOrderAllLandAndAreSaved)
{
    // The answer names the target and the text, so a mix-up would show.
    server.setHandler([](const FakeRequest &r) {
        const QJsonObject body = QJsonDocument::fromJson(r.body).object();
        return FakeResponse{
            200,
            FakeHttpServer::translation(body["target"].toString() + ":" + body["q"].toString()),
            int(QRandomGenerator::global()->bounded(30))};
    });
    ProjectModel model = project(60);
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

    EXPECT_EQ(run(job, everyRow).saves, 1);
    poll.stop();
    EXPECT_EQ(server.requests().size(), 120);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), (QList<QVariant>{60, 60, 60}));
    for (int i = 0; i < 60; ++i) {
        const Row row = model.data.value(QStringLiteral("k%1-L.strings").arg(i));
        EXPECT_EQ(row.value("de").value, QStringLiteral("de:text %1").arg(i));
        EXPECT_EQ(row.value("fr").value, QStringLiteral("fr:text %1").arg(i));
    }
    EXPECT_TRUE(file("fr").contains("\"k42\" = \"fr:text 42\";"));
}

TEST_F(TranslateJobTest, CancelSendsNoNewRequestsAndKeepsWhatArrived)
{
    ProjectModel model = project(40);
    server.setHandler([](const FakeRequest &) {
        return FakeResponse{200, FakeHttpServer::translation("done"), 150};
    });
    TranslateJob job(model);
    job.setMaxKeysInFlight(2);
    QObject::connect(&job, &TranslateJob::progress, &job, [&job](int done) {
        if (done == 2)
            job.cancel();
    });
    EXPECT_EQ(run(job, everyRow).saves, 1);
    // Requests already on the wire may reach the server after the job ended;
    // none belongs to a key that was not started before the cancel.
    QTest::qWait(300);
    EXPECT_LT(job.keysStarted(), 20);
    EXPECT_LE(server.requests().size(), 2 * job.keysStarted());
    EXPECT_TRUE(file("de").contains("\"k0\" = \"done\";"));
    EXPECT_FALSE(file("de").contains("k39"));
}
