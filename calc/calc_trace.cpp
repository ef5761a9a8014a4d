#include "calc/calc_trace.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kestrel {

namespace {

struct FigureNames {
    std::string_view caption;
    std::string_view key;
};

constexpr std::array<FigureNames, kTraceFigureCount> kNames{{
    {"Gross Pay", "gross"},
    {"OverTime", "overtime"},
    {"Tips", "tips"},
    {"Federal Tax", "federal"},
    {"Soc Sec", "socialSecurity"},
    {"Medicare", "medicare"},
    {"State Tax", "state"},
    {"City Tax", "city"},
    {"CrUnion", "creditUnion"},
    {"Bond", "bond"},
    {"Dues", "dues"},
    {"Pension", "pension"},
    {"Misc.", "misc"},
    {"K Plan", "kPlan"},
    {"SDI", "sdi"},
    {"SUI", "sui"},
    {"Cafeteria Plan", "cafeteria"},
    {"Taxes", "taxes"},
    {"Deductions", "deductions"},
    {"Net Pay", "net"},
}};

}  // namespace

const std::array<TraceFigure, kTraceFigureCount>& TraceFigures() {
    static const std::array<TraceFigure, kTraceFigureCount> figures = [] {
        std::array<TraceFigure, kTraceFigureCount> all{};
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<TraceFigure>(i);
        return all;
    }();
    return figures;
}

std::string_view TraceFigureCaption(TraceFigure figure) {
    return kNames[static_cast<std::size_t>(figure)].caption;
}

std::string_view TraceFigureKey(TraceFigure figure) {
    return kNames[static_cast<std::size_t>(figure)].key;
}

void CalcTrace::Add(TraceFigure figure, std::string step, std::vector<TraceValue> values,
                    double result, std::string text) {
    steps_.push_back({figure, std::move(step), std::move(values), result, std::move(text)});
}

std::vector<const TraceStep*> CalcTrace::Section(TraceFigure figure) const {
    std::vector<const TraceStep*> section;
    for (const TraceStep& step : steps_)
        if (step.figure == figure) section.push_back(&step);
    return section;
}

std::string TraceAmount(double value) {
    if (!std::isfinite(value)) return TraceNumber(value);
    std::array<char, 64> text{};
    // -0.004 would print as "-0.00".
    const double rounded = std::round(value * 100) / 100;
    std::snprintf(text.data(), text.size(), "%.2f", rounded == 0 ? 0.0 : rounded);
    return text.data();
}

std::string TraceNumber(double value) {
    if (std::isnan(value)) return "not a number";
    if (std::isinf(value)) return value > 0 ? "infinity" : "-infinity";
    // The single-precision figures are written as singles, so 0.0685f reads "0.0685" rather
    // than its double expansion.
    // Beyond a single's range the conversion itself would be undefined.
    const bool fits = std::fabs(value) <= std::numeric_limits<float>::max();
    const auto single = fits ? static_cast<float>(value) : 0.0f;
    std::array<char, 64> text{};
    const auto [end, error] = static_cast<double>(single) == value
                                  ? std::to_chars(text.data(), text.data() + text.size(), single)
                                  : std::to_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) return "?";
    return std::string(text.data(), end);
}

std::string TracePercent(double fraction) {
    // Rates are singles: 0.15f is 0.15000000596..., which no one typed. Six figures give back
    // every rate a table holds.
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.6g%%", fraction * 100);
    return text.data();
}

std::string TraceSectionText(const CalcTrace& trace, TraceFigure figure) {
    std::string text(TraceFigureCaption(figure));
    text += ":\n";
    for (const TraceStep* step : trace.Section(figure))
        text += "  " + step->text + "\n";
    return text;
}

std::string TraceText(const CalcTrace& trace) {
    std::string text;
    for (TraceFigure figure : TraceFigures()) {
        if (!text.empty()) text += "\n";
        text += TraceSectionText(trace, figure);
    }
    return text;
}

}  // namespace kestrel
