// Text from a file or the command line on its way to a terminal: never raw control characters or
// broken UTF-8, so a damaged file cannot drive the terminal.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// Control characters and bytes that are not UTF-8 are written as \xNN.
std::string Printable(std::string_view text);
// A message the program would have shown in a box: each of its lines (CR LF apart) becomes an
// indented line of its own, made printable.
std::string MessageLines(std::string_view message);
// A JSON string: quotes and backslashes escaped, control characters as \u00NN.
std::string JsonQuoted(std::string_view text);

// "--help" or "-h" anywhere on the command line.
bool AsksForHelp(const std::vector<std::string_view>& args);
// Two names of one file, so that one output would overwrite another.
bool SameFile(const std::string& first, const std::string& second);

// A mistake in a command line's options: the program prints it with its usage text.
struct UsageError {
    std::string message;
};

// The arguments of a command line one at a time. An option's value is the next argument or is
// joined to it with "=" ("--date 01/07/05", "--date=01/07/05").
class OptionCursor {
  public:
    explicit OptionCursor(const std::vector<std::string_view>& args) : args_(args) {}
    // Moves to the next argument; false past the last.
    bool Next();
    // The argument as typed, and the option it names (without "=value").
    std::string_view Argument() const { return args_[at_]; }
    std::string_view Option() const { return option_; }
    // The option's value; UsageError when there is none.
    std::string_view Value();
    // For an option that takes no value; UsageError when one was joined to it.
    void NoValue() const;

  private:
    const std::vector<std::string_view>& args_;
    std::size_t next_ = 0;
    std::size_t at_ = 0;
    std::string_view option_;
    std::optional<std::string_view> joined_;
};

}  // namespace kestrel
