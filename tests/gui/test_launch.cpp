// Starts the real program on a display server with a copy of the demo project:
// its window appears with the project's title (screenshot: build/verbalo-demo.png).
#include "testsupport.h"

#include "common/settings.h"
#include "model/projectdiscovery.h"

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
            GTEST_SKIP() << tool << " is missing: see tools/packages.txt";
    }
    QTemporaryDir dir;
    const QString copy = copyDemo(dir.path());
    Settings().setValue(Settings::StopWarning, true);
    const QString title = loadProject(ProjectDiscovery::discover(copy).value(0)).title();
    const QString shot = QStringLiteral(VERBALO_BIN_DIR "/../verbalo-demo.png");
    QFile::remove(shot);

    const QString script = QStringLiteral(
        "\"$VERBALO\" \"$PROJECT\" >/dev/null 2>&1 & app=$!\n"
        "for i in $(seq 1 300); do\n"
        "  xdotool search --name \"$TITLE\" >/dev/null 2>&1 && found=1 && break\n"
        "  sleep 0.2\n"
        "done\n"
        "sleep 1; import -window root \"$SHOT\"; kill $app; wait $app\n"
        "[ -n \"$found\" ]\n");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("VERBALO", VERBALO_BIN_DIR "/verbalo");
    env.insert("PROJECT", copy);
    env.insert("TITLE", '^' + QRegularExpression::escape(title) + '$');
    env.insert("SHOT", shot);
    process.setProcessEnvironment(env);
    process.start("xvfb-run", {"-a", "-s", "-screen 0 1440x900x24", "sh", "-c", script});
    ASSERT_TRUE(process.waitForFinished(180000));
    EXPECT_EQ(process.exitCode(), 0) << "no window titled \"" << title.toStdString() << "\"";
    EXPECT_TRUE(QFileInfo::exists(shot));
}
