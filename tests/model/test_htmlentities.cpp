// removingHTMLEntities: named and numeric references, and text that must
// pass through unchanged.
#include "model/htmlentities.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(HtmlEntities, DecodesCompleteReferencesOnly)
{
    EXPECT_EQ(removingHTMLEntities(u"Fish &amp; Chips"_s), u"Fish & Chips"_s);
    EXPECT_EQ(removingHTMLEntities(u"&lt;b&gt; &quot;x&quot; &#39;y&#x27; &#X41;"_s), u"<b> \"x\" 'y' A"_s);
    EXPECT_EQ(removingHTMLEntities(u"&AElig;&zwnj;&fjlig;&Afr;&#x1F600;"_s),
        u"\u00C6\u200Cfj\U0001D504\U0001F600"_s);
    EXPECT_EQ(removingHTMLEntities(u"&CounterClockwiseContourIntegral;"_s), u"\u2233"_s);
    EXPECT_EQ(removingHTMLEntities(u"it&#146;s&#x80;&#x81;"_s), u"it\u2019s\u20AC\u0081"_s);
    // One pass only: a decoded ampersand does not start another reference.
    EXPECT_EQ(removingHTMLEntities(u"&amp;lt;"_s), u"&lt;"_s);

    // Everything else is left alone.
    for (const QString &text :
         {u""_s, u"plain text"_s, u"R&D & AT&T"_s, u"&amp"_s, u"&copy 2024"_s, u"&nosuch;"_s,
          u"&AMP ;"_s, u"&#;"_s, u"&#x;"_s, u"&#12"_s, u"&#0;"_s, u"&#xD800;"_s, u"&#x110000;"_s,
          u"&#99999999999999999999;"_s, u"&#x41"_s, u"&"_s, u"&&;"_s,
          u"&CounterClockwiseContourIntegralX;"_s})
        EXPECT_EQ(removingHTMLEntities(text), text);
    EXPECT_EQ(removingHTMLEntities(u"&&amp;&"_s), u"&&&"_s);
}
