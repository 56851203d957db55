// The start window's row texts.
#include "shell/startwindowtext.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(StartWindowText, PathBelowHomeIsShortenedAndNameIsTheLastComponent)
{
    // Only a whole leading home folder is shortened.
    const char *const paths[][3] = {
        {"/home/dev/Code/App", "/home/dev", "~/Code/App"}, {"/home/dev", "/home/dev", "~"},
        {"/home/dev/Code", "/home/dev/", "~/Code"}, {"/home/devops/App", "/home/dev", "/home/devops/App"},
        {"/mnt/home/dev/App", "/home/dev", "/mnt/home/dev/App"}, {"/srv/App", "/", "/srv/App"}};
    for (const auto &c : paths)
        EXPECT_EQ(StartWindowText::pathText(c[0], c[1]), c[2]) << c[0];
    EXPECT_EQ(StartWindowText::pathText(QDir::homePath() + "/x"), "~/x");

    const std::pair<const char *, const char *> names[] = {
        {"/home/dev/Code/App", "App"}, {"/home/dev/Code/App/", "App"}, {"/", "/"}, {"relative", "relative"}};
    for (const auto &[path, name] : names)
        EXPECT_EQ(StartWindowText::nameText(path), name) << path;
}
