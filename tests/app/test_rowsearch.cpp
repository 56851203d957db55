// The search field's matching rule, without widgets.
#include "editor/rowsearch.h"

#include <gtest/gtest.h>

TEST(RowSearch, MatchesAnyTextOfAnyLanguageIgnoringCase)
{
    ProjectModel model;
    Row greeting;
    greeting.insert(QStringLiteral("en"), Entry{QStringLiteral("hello"), QStringLiteral("Hello"),
                                                QStringLiteral("Shown at start")});
    greeting.insert(QStringLiteral("de"), Entry{QStringLiteral("hello"), QStringLiteral("Grüß dich"),
                                                std::nullopt});
    Row farewell;
    farewell.insert(QStringLiteral("en"), Entry{QStringLiteral("bye"), QStringLiteral("Bye"), std::nullopt});
    model.data.insert(QStringLiteral("hello-L.strings"), greeting);
    model.data.insert(QStringLiteral("bye-L.strings"), farewell);
    model.keys = {QStringLiteral("bye-L.strings"), QStringLiteral("ghost-L.strings"),
                  QStringLiteral("hello-L.strings")};

    EXPECT_TRUE(RowSearch::matches(model, QStringLiteral("hello-L.strings"), QStringLiteral("GRÜSS").left(3)));
    EXPECT_TRUE(RowSearch::matches(model, QStringLiteral("hello-L.strings"), QStringLiteral("AT START")));
    EXPECT_TRUE(RowSearch::matches(model, QStringLiteral("bye-L.strings"), QStringLiteral("BY")));
    EXPECT_FALSE(RowSearch::matches(model, QStringLiteral("bye-L.strings"), QStringLiteral("L.strings")));
    EXPECT_TRUE(RowSearch::matches(model, QStringLiteral("ghost-L.strings"), QStringLiteral("ghost")));

    RowSearch::filterKeys(model, QStringLiteral("  "));
    EXPECT_EQ(model.keys.size(), 3);
    RowSearch::filterKeys(model, QStringLiteral("e"));
    EXPECT_EQ(model.keys, (QStringList{QStringLiteral("bye-L.strings"), QStringLiteral("hello-L.strings")}));
}
