// The Shell runner: separate arguments, both pipes, line splitting, failures.
#include "model/shell.h"

#include <QtConcurrent/QtConcurrentRun>
#include <gtest/gtest.h>

TEST(Shell, ArgumentsStatusLinesAndFailures)
{
    // Arguments reach the program unexpanded; empty lines are dropped, but an
    // empty stream gives one empty line.
    ShellResult r = Shell::shared().run("/usr/bin/printf",
                                        {"\n%s\n%s\n\n", "*.strings", "two words"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, (QStringList{"*.strings", "two words"}));
    EXPECT_EQ(r.error, QStringList{QString()});

    r = Shell::shared().run("/bin/sh", {"-c", "echo oops >&2; exit 3"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.output, QStringList{QString()});
    EXPECT_EQ(r.error, QStringList{"oops"});

    // Output that is not UTF-8 gives no lines; a missing program fails safely.
    EXPECT_TRUE(Shell::shared().run("/usr/bin/printf", {"a\\377b\\n"}).output.isEmpty());
    r = Shell::shared().run("/no/such/program", {});
    EXPECT_EQ(r.status, -1);
    EXPECT_TRUE(r.output.isEmpty());

    // The bytes variant: NUL bytes, bytes that are not UTF-8 and line feeds at
    // either end all stay.
    const ShellBytes b = Shell::shared().runBytes(
        "/bin/sh", {"-c", "printf '\\na\\000b\\377\\n'; printf 'x\\377' >&2; exit 4"});
    EXPECT_EQ(b.output, QByteArray("\na\0b\xff\n", 6));
    EXPECT_EQ(b.error, "x\xff");
    EXPECT_EQ(b.status, 4);
    EXPECT_EQ(Shell::shared().runBytes("/no/such/program").status, -1);
}

TEST(Shell, MuchOutputOnBothPipesAndBackgroundThreadsDoNotStall)
{
    // Far more than a pipe buffer on standard error before anything on standard output.
    const ShellResult r = Shell::shared().run("/bin/sh",
        {"-c", QStringLiteral("i=0; while [ $i -lt 20000 ]; do echo err-line-$i >&2; i=$((i+1)); done; "
                                              "seq 1 50000")});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.error.size(), 20000);
    ASSERT_EQ(r.output.size(), 50000);
    EXPECT_EQ(r.output.last(), "50000");

    // The folder scan runs find from its own queue, possibly beside discovery.
    auto run = [] { return Shell::shared().run("/bin/sh", {"-c", "seq 1 2000"}); };
    QFuture<ShellResult> a = QtConcurrent::run(run);
    QFuture<ShellResult> b = QtConcurrent::run(run);
    EXPECT_EQ(a.result().output.size(), 2000);
    EXPECT_EQ(b.result().output.last(), "2000");
}
