// A window's standard message may be followed, after a blank line, by where a file failed and
// what a save will do with it; tests that check the standard text compare the part before.
#pragma once

#include <string>
#include <vector>

namespace kestrel::testing {

inline std::string StandardPart(const std::string& text) {
    return text.substr(0, text.find("\r\n\r\n"));
}

inline std::vector<std::string> StandardParts(std::vector<std::string> texts) {
    for (std::string& text : texts)
        text = StandardPart(text);
    return texts;
}

}  // namespace kestrel::testing
