// The JSON the command-line programs print: a small object writer and one pay period's results
// with every figure the main window shows, as kestrel-calc prints them and kestrel-run repeats
// them per employee.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calc/payroll_records.h"
#include "platform/numbers.h"

namespace kestrel {

// An object written key by key, two spaces in; a value that is already JSON goes in as it is.
class JsonObject {
  public:
    void Number(std::string_view key, float value);
    void Number(std::string_view key, double value);
    void String(std::string_view key, std::string_view value);
    void Raw(std::string_view key, std::string_view json);
    std::string Finish() const;
    // The first key whose figure is infinite or not a number; such a figure is never printed.
    const std::optional<std::string>& Unrepresentable() const { return unrepresentable_; }

  private:
    bool Finite(std::string_view key, double value);
    std::string text_;
    std::optional<std::string> unrepresentable_;
};

// Indents an object's lines after the first by two more spaces, to nest it in another.
std::string NestedJson(std::string json);

// Every result of one period and the texts the main window shows for them. `unrepresentable`
// names a figure that cannot be written, when there is one (the text is then not to be printed).
std::string ResultJson(const PayResult& result, const PayPeriodEntry& entry,
                       std::string_view tableVersion, Currency ytdGross,
                       std::optional<std::string>& unrepresentable);

}  // namespace kestrel
