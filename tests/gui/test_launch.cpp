// Starts the real program on a display server with a copy of the demo project
// and checks that its window appears with the project's title; keeps a
// screenshot of the screen as build/verbalo-demo.png.
#include "testsupport.h"

#include "common/settings.h"
#include "model/projectdiscovery.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>


TEST(Launch, TheDemoProjectOpensInAWindowTitledWithRowsAndPath)
{
    for (const char *tool : {"xvfb-run", "xdotool", "import"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " is missing: install xvfb, xdotool and imagemagick "
                                    "(tools/packages.txt) to run this test";
    }
    QTemporaryDir dir;
    const QString copy = copyDemo(dir.path());
    Settings().setValue(Settings::StopWarning, true);

    const QStringList roots = ProjectDiscovery::discover(copy);
    ASSERT_FALSE(roots.isEmpty());
    const QString title = loadProject(roots.first()).title();
    const QString shot = QStringLiteral(VERBALO_BIN_DIR "/../verbalo-demo.png");
    QFile::remove(shot);

    const QString script = QStringLiteral(
        "\"$VERBALO\" \"$PROJECT\" >/dev/null 2>&1 & app=$!\n"
        "found=\n"
        "for i in $(seq 1 300); do\n"
        "  if xdotool search --name \"$TITLE\" >/dev/null 2>&1; then found=1; break; fi\n"
        "  sleep 0.2\n"
        "done\n"
        "[ -n \"$found\" ] || { echo 'windows on the display:'; "
        "xdotool search --name . getwindowname %@; } >&2\n"
        "sleep 1\n"
        "import -window root \"$SHOT\"\n"
        "kill $app 2>/dev/null; wait $app 2>/dev/null\n"
        "[ -n \"$found\" ]\n");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("VERBALO"), QStringLiteral(VERBALO_BIN_DIR "/verbalo"));
    env.insert(QStringLiteral("PROJECT"), copy);
    env.insert(QStringLiteral("TITLE"),
               QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$'));
    env.insert(QStringLiteral("SHOT"), shot);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("xvfb-run"),
                  {QStringLiteral("-a"), QStringLiteral("-s"),
                   QStringLiteral("-screen 0 1440x900x24"), QStringLiteral("sh"),
                   QStringLiteral("-c"), script});
    ASSERT_TRUE(process.waitForFinished(180000));
    EXPECT_EQ(process.exitCode(), 0) << "no window titled \"" << title.toStdString()
                                     << "\" appeared; " << process.readAllStandardError().toStdString();
    EXPECT_TRUE(QFileInfo::exists(shot));
}
