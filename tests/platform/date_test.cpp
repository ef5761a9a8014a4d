#include "platform/date.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(ParseDate, AcceptsWhatUsersTypeInAWeekEndingBox) {
    EXPECT_EQ(ParseDate("12/30/05"), (Date{2005, 12, 30}));
    EXPECT_EQ(ParseDate("1/2/2006"), (Date{2006, 1, 2}));
    EXPECT_EQ(ParseDate(" 02/29/04 "), (Date{2004, 2, 29}));
    EXPECT_EQ(ParseDate("12-31-99"), (Date{1999, 12, 31}));
    EXPECT_EQ(ParseDate("6/1/29"), (Date{2029, 6, 1}));
    EXPECT_EQ(ParseDate("6/1/30"), (Date{1930, 6, 1}));
}

TEST(ParseDate, RefusesWhatIsNoDate) {
    for (const char* text : {"00/00/05", "", "13/01/05", "02/29/05", "12/30", "12/30/05x",
                             "12/30-05", "a/b/c", "12/30/123", "04/31/06"}) {
        EXPECT_EQ(ParseDate(text), std::nullopt) << text;
    }
}

TEST(ShortDateText, IsEightCharacters) {
    EXPECT_EQ(ShortDateText({2005, 12, 30}), "12/30/05");
    EXPECT_EQ(ShortDateText({2006, 1, 6}), "01/06/06");
    EXPECT_EQ(ShortDateText({1999, 7, 4}), "07/04/99");
    EXPECT_EQ(ParseDate(ShortDateText({2026, 12, 9})), (Date{2026, 12, 9}));
}

}  // namespace
}  // namespace kestrel
