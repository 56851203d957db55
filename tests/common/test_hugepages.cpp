// The start-up restart for huge pages: when it happens, that the program then
// runs with its own arguments and hands its children the environment it got.
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

TEST(HugePages, RestartsOnceOnlyWhenAskedForAndLeavesNoTrace)
{
    QFile mode(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    const bool onRequest = mode.open(QIODevice::ReadOnly) && mode.readAll().contains("[madvise]");
    const QStringList arguments = {"two words", "ü", "", "--flag"};
    QString argumentLines;
    for (const QString &argument : arguments)
        argumentLines += "arg=" + argument + '\n';

    struct Case
    {
        const char *tunables; // nullptr: not set
        bool restarts;
        const char *tunablesAfter;
    };
    const Case cases[] = {
        {nullptr, onRequest, "(unset)"},
        // A value the user set, even an empty one, is theirs: no restart.
        {"", false, ""},
        {"glibc.malloc.hugetlb=0", false, "glibc.malloc.hugetlb=0"},
    };
    for (const Case &c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("GLIBC_TUNABLES");
        env.remove("VERBALO_HUGE_PAGES_RESTART");
        if (c.tunables)
            env.insert("GLIBC_TUNABLES", c.tunables);
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(VERBALO_BIN_DIR "/hugepages_probe"), arguments);
        ASSERT_TRUE(probe.waitForFinished(30000));
        EXPECT_EQ(probe.exitCode(), 7);
        const QString expected =
            QStringLiteral("restarted=%1\nGLIBC_TUNABLES=%2\nVERBALO_HUGE_PAGES_RESTART=(unset)\n")
                .arg(int(c.restarts))
                .arg(QString::fromUtf8(c.tunablesAfter)) +
            argumentLines;
        EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()), expected)
            << (c.tunables ? c.tunables : "unset");
    }
}
