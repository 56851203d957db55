// The support command's script runner and the help page's location.
#include "shell/helppage.h"
#include "shell/supportscript.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

// A script runs to its end; one that is absent, blank, failing, stuck or
// unreadable ends quietly with its own outcome.
TEST(SupportScript, RunsTheScriptAndWaitsForItAndFailuresEndQuietly)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.txt");
    const QString script =
        writeFile(dir.path(), "script.txt",
                  QStringLiteral("sleep 0.2\nprintf '%s' 'Grüße' > '%1'\n").arg(out).toUtf8());
    EXPECT_EQ(SupportScript::run(script), SupportScript::Outcome::Ran);
    EXPECT_EQ(readFile(out), QStringLiteral("Grüße").toUtf8());

    EXPECT_EQ(SupportScript::run(dir.filePath("absent.txt")), SupportScript::Outcome::NoScript);
    EXPECT_EQ(SupportScript::run(writeFile(dir.path(), "blank.txt", " \n\t\n")),
              SupportScript::Outcome::NoScript);
    EXPECT_EQ(SupportScript::run(writeFile(dir.path(), "fail.txt", "echo oops >&2; exit 3\n")),
              SupportScript::Outcome::Failed);
    EXPECT_EQ(SupportScript::run(writeFile(dir.path(), "stuck.txt", "exec sleep 30\n"), 300),
              SupportScript::Outcome::Failed);

    if (::geteuid() != 0) {
        const QString locked = writeFile(dir.path(), "locked.txt", "exit 0\n");
        QFile::setPermissions(locked, QFileDevice::Permissions());
        EXPECT_EQ(SupportScript::run(locked), SupportScript::Outcome::ReadFailed);
    }
}

TEST(SupportScript, TheShippedScriptIsValidShell)
{
    QFile resource(SupportScript::ResourcePath);
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    QProcess check;
    check.start("/bin/sh", {"-n", "-c", QString::fromUtf8(resource.readAll())});
    ASSERT_TRUE(check.waitForFinished());
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
}

TEST(HelpPage, FoundInstalledOrInTheSourceTree)
{
    const QUrl url = HelpPage::location();
    EXPECT_EQ(url.toLocalFile(),
              QFileInfo(VERBALO_SOURCE_DIR "/docs/help.html").canonicalFilePath());
    EXPECT_TRUE(readFile(url.toLocalFile()).contains("<title>"));

    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("bin");
    const QString installed = writeFile(prefix.path(), "share/verbalo/help.html", "<html></html>");
    EXPECT_EQ(HelpPage::location(prefix.filePath("bin")),
              QUrl::fromLocalFile(QFileInfo(installed).canonicalFilePath()));
}
