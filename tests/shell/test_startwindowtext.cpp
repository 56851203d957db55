// The start window's row texts.
#include "app/startwindowtext.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(StartWindowText, PathBelowHomeIsShortened)
{
    const QString home = QStringLiteral("/home/dev");
    EXPECT_EQ(StartWindowText::pathText("/home/dev/Code/App", home), "~/Code/App");
    EXPECT_EQ(StartWindowText::pathText("/home/dev", home), "~");
    EXPECT_EQ(StartWindowText::pathText("/home/dev/Code", "/home/dev/"), "~/Code");
    // Only a whole leading home folder is shortened.
    EXPECT_EQ(StartWindowText::pathText("/home/devops/App", home), "/home/devops/App");
    EXPECT_EQ(StartWindowText::pathText("/mnt/home/dev/App", home), "/mnt/home/dev/App");
    EXPECT_EQ(StartWindowText::pathText("/media/usb/App", home), "/media/usb/App");
    EXPECT_EQ(StartWindowText::pathText("/srv/App", "/"), "/srv/App");

    EXPECT_EQ(StartWindowText::pathText(QDir::homePath() + "/x"), "~/x");
}

TEST(StartWindowText, NameIsTheLastComponent)
{
    EXPECT_EQ(StartWindowText::nameText("/home/dev/Code/App"), "App");
    EXPECT_EQ(StartWindowText::nameText("/home/dev/Code/App/"), "App");
    EXPECT_EQ(StartWindowText::nameText("/"), "/");
    EXPECT_EQ(StartWindowText::nameText("relative"), "relative");
}

} // namespace
