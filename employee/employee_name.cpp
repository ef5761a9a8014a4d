#include "employee/employee_name.h"

#include "employee/record_file.h"

namespace kestrel {

namespace {

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) return true;
    }
    return false;
}

std::string Refusal(std::string_view what, std::string_view text, std::string_view reason) {
    return "\"" + std::string(text) + "\" cannot be used as " + std::string(what) + ":\r\n" +
           std::string(reason);
}

}  // namespace

std::optional<std::string> EmployeeNameProblem(std::string_view name) {
    constexpr std::string_view kWhat = "an employee name";
    if (name.empty()) return "An employee needs a name.\r\nNothing was changed.";
    if (name.find_first_of("/\\") != std::string_view::npos)
        return Refusal(kWhat, name, "it must not contain \"/\" or \"\\\".");
    if (name.find("..") != std::string_view::npos)
        return Refusal(kWhat, name, "it must not contain \"..\".");
    if (name.find(':') != std::string_view::npos)
        return Refusal(kWhat, name, "it must not contain a colon.");
    if (HasControlCharacter(name))
        return Refusal(kWhat, name, "it must not contain a control character.");
    if (name.front() == ' ' || name.back() == ' ')
        return Refusal(kWhat, name, "it must not begin or end with a space.");
    // The longest name made from an employee's: a saved pay period ("12_30_2005" + name +
    // ".prv") while its save writes it under a temporary name, or kept aside as damaged.
    constexpr std::size_t kLongestPrefix = std::string_view("12_30_2005").size();
    constexpr std::size_t kLongestExtension = std::string_view(".use").size();
    const std::size_t added = kLongestPrefix + kLongestExtension + LongestAddedToFileName();
    const std::size_t longest = LongestFileName();
    if (name.size() + added > longest) {
        const std::size_t allowed = longest > added ? longest - added : 0;
        std::string shown(name.substr(0, 40));
        if (shown.size() < name.size()) shown += "...";
        return Refusal(kWhat, shown,
                       "it is " + std::to_string(name.size()) +
                           " characters long, and the files of an employee leave room for " +
                           std::to_string(allowed) + " at most in this folder.");
    }
    return std::nullopt;
}

std::optional<std::string> FileNamePartProblem(std::string_view text, std::string_view what) {
    if (text.find('\\') != std::string_view::npos)
        return Refusal(what, text, "it must not contain \"\\\".");
    if (text.find("..") != std::string_view::npos)
        return Refusal(what, text, "it must not contain \"..\".");
    if (text.find(':') != std::string_view::npos)
        return Refusal(what, text, "it must not contain a colon.");
    if (HasControlCharacter(text))
        return Refusal(what, text, "it must not contain a control character.");
    return std::nullopt;
}

}  // namespace kestrel
