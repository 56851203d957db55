// The search field's matching rule, without widgets.
#include "editor/rowsearch.h"

#include <gtest/gtest.h>

TEST(RowSearch, MatchesAnyTextOfAnyLanguageIgnoringCase)
{
    ProjectModel model;
    Row greeting;
    greeting.insert("en", Entry{"hello", "Hello", "Shown at start"});
    greeting.insert("de", Entry{"hello", "Grüß dich", std::nullopt});
    Row farewell;
    farewell.insert("en", Entry{"bye", "Bye", std::nullopt});
    model.data.insert("hello-L.strings", greeting);
    model.data.insert("bye-L.strings", farewell);
    model.keys = {"bye-L.strings", "ghost-L.strings", "hello-L.strings"};

    EXPECT_TRUE(RowSearch::matches(model, "hello-L.strings", QStringLiteral("GRÜSS").left(3)));
    EXPECT_TRUE(RowSearch::matches(model, "hello-L.strings", "AT START"));
    EXPECT_TRUE(RowSearch::matches(model, "bye-L.strings", "BY"));
    EXPECT_FALSE(RowSearch::matches(model, "bye-L.strings", "L.strings"));
    EXPECT_TRUE(RowSearch::matches(model, "ghost-L.strings", "ghost"));

    RowSearch::filterKeys(model, "  ");
    EXPECT_EQ(model.keys.size(), 3);
    RowSearch::filterKeys(model, "e");
    EXPECT_EQ(model.keys, (QStringList{"bye-L.strings", "hello-L.strings"}));
}
