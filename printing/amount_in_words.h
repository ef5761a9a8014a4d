// A check's amount written out in English words, the way a check is filled in by hand.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// " One Thousand Two Hundred Thirty Four and 50/100". Every word carries one space in front of
// it, so a text that does not start with "Zero" starts with a space. A negative amount counts as
// zero; one above 999999.99 gives "Dollar amount is too large".
std::string AmountInWords(float amount);

// Appends the words of one group of three digits ("234" -> " Two Hundred Thirty Four") to
// `words`; "000" appends nothing. A group that is not three digits appends nothing either.
void GroupInWords(std::string_view group, std::string& words);

}  // namespace kestrel
