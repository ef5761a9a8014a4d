#include "printing/amount_in_words.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kestrel {
namespace {

struct WordsCase {
    float amount;
    const char* words;
};

class AmountInWordsTable : public ::testing::TestWithParam<WordsCase> {};

TEST_P(AmountInWordsTable, WritesTheAmountOut) {
    EXPECT_EQ(AmountInWords(GetParam().amount), GetParam().words) << GetParam().amount;
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, AmountInWordsTable,
    ::testing::Values(
        WordsCase{1234.50f, " One Thousand Two Hundred Thirty Four and 50/100"},
        WordsCase{100.00f, " One Hundred and No/100"},
        WordsCase{115.00f, " One Hundred Fifteen and No/100"},
        WordsCase{1019.30f, " One Thousand Nineteen and 30/100"},
        WordsCase{1000.00f, " One Thousand and No/100"}, WordsCase{20.05f, " Twenty and 05/100"},
        WordsCase{10.00f, " Ten and No/100"}, WordsCase{0.75f, "Zero and 75/100"},
        WordsCase{0.00f, "Zero and No/100"}, WordsCase{-0.01f, "Zero and No/100"},
        WordsCase{-1234.5f, "Zero and No/100"},
        // 999999.99 is not a single: it is stored as one million. The largest single below
        // one million is 999999.9375, which rounds to 94 cents.
        WordsCase{999999.9375f,
                  " Nine Hundred Ninety Nine Thousand Nine Hundred Ninety Nine and 94/100"},
        WordsCase{999999.99f, "Dollar amount is too large"},
        WordsCase{1000000.00f, "Dollar amount is too large"},
        WordsCase{std::numeric_limits<float>::infinity(), "Dollar amount is too large"},
        WordsCase{std::numeric_limits<float>::quiet_NaN(), "Zero and No/100"},
        WordsCase{19.995f, " Twenty and No/100"}, WordsCase{1.0f, " One and No/100"},
        WordsCase{19.0f, " Nineteen and No/100"}, WordsCase{90.0f, " Ninety and No/100"},
        WordsCase{101.01f, " One Hundred One and 01/100"},
        WordsCase{12000.0f, " Twelve Thousand and No/100"},
        WordsCase{700007.0f, " Seven Hundred Thousand Seven and No/100"}));

TEST(GroupInWords, AppendsToWhatIsThere) {
    std::string words = "Start";
    GroupInWords("342", words);
    EXPECT_EQ(words, "Start Three Hundred Forty Two");
    GroupInWords("000", words);
    EXPECT_EQ(words, "Start Three Hundred Forty Two");
    GroupInWords("017", words);
    EXPECT_EQ(words, "Start Three Hundred Forty Two Seventeen");
}

TEST(GroupInWords, IgnoresWhatIsNotThreeDigits) {
    std::string words;
    GroupInWords("12", words);
    GroupInWords("1a2", words);
    GroupInWords("1234", words);
    EXPECT_EQ(words, "");
}

}  // namespace
}  // namespace kestrel
