#include "app/terminal_text.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kestrel {

std::string Printable(std::string_view text) {
    std::string out;
    const auto escape = [&out](unsigned char byte) {
        std::array<char, 8> escaped{};
        std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
        out += escaped.data();
    };
    const auto continuation = [&text](std::size_t at) {
        return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            out += static_cast<char>(byte);
            ++i;
            continue;
        }
        // The length of a well-formed UTF-8 sequence starting here; 0 for anything else, the
        // C1 control characters U+0080 to U+009F among them.
        std::size_t length = 0;
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
            if (byte == 0xC2 && i + 1 < text.size() &&
                static_cast<unsigned char>(text[i + 1]) < 0xA0) {
                length = 0;
            }
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            if ((byte == 0xE0 && next < 0xA0) || (byte == 0xED && next > 0x9F)) length = 0;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            if ((byte == 0xF0 && next < 0x90) || (byte == 0xF4 && next > 0x8F)) length = 0;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (!continuation(i + k)) length = 0;
        }
        if (length == 0) {
            escape(byte);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string MessageLines(std::string_view message) {
    std::string out;
    for (std::size_t at = 0;;) {
        const std::size_t end = message.find("\r\n", at);
        out += "\n  " + Printable(message.substr(at, end - at));
        if (end == std::string_view::npos) return out;
        at = end + 2;
    }
}

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
            out += escaped.data();
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool AsksForHelp(const std::vector<std::string_view>& args) {
    for (std::string_view arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

bool SameFile(const std::string& first, const std::string& second) {
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(first, ignored), ignored) ==
           std::filesystem::weakly_canonical(std::filesystem::absolute(second, ignored), ignored);
}

bool OptionCursor::Next() {
    if (next_ >= args_.size()) return false;
    at_ = next_++;
    option_ = args_[at_];
    joined_.reset();
    if (const auto equals = option_.find('=');
        option_.starts_with("--") && equals != std::string_view::npos) {
        joined_ = option_.substr(equals + 1);
        option_ = option_.substr(0, equals);
    }
    return true;
}

std::string_view OptionCursor::Value() {
    if (joined_) return *joined_;
    if (next_ >= args_.size()) throw UsageError{std::string(option_) + " needs a value"};
    return args_[next_++];
}

void OptionCursor::NoValue() const {
    if (joined_) throw UsageError{std::string(option_) + " takes no value"};
}

}  // namespace kestrel
