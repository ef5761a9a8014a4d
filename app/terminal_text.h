// Text from a file or the command line on its way to a terminal: never raw control characters or
// broken UTF-8, so a damaged file cannot drive the terminal.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// Control characters and bytes that are not UTF-8 are written as \xNN.
std::string Printable(std::string_view text);
// A message the program would have shown in a box: each of its lines (CR LF apart) becomes an
// indented line of its own, made printable.
std::string MessageLines(std::string_view message);
// A JSON string: quotes and backslashes escaped, control characters as \u00NN.
std::string JsonQuoted(std::string_view text);

}  // namespace kestrel
