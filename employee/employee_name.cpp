#include "employee/employee_name.h"

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
