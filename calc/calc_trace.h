// The working of one calculation, recorded by the calculation as it goes: what went in, which
// table row was chosen, each rounding. The figures are never worked out a second time for the
// explanation, so it cannot disagree with them. A calculation given no recorder records nothing
// and builds no text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The figures of the main window, in the order the explanation lists them.
enum class TraceFigure {
    GrossPay,
    Overtime,
    Tips,
    FederalTax,
    SocSec,
    Medicare,
    StateTax,
    CityTax,
    CreditUnion,
    Bond,
    Dues,
    Pension,
    Misc,
    KPlan,
    Sdi,
    Sui,
    Cafeteria,
    Taxes,
    Deductions,
    NetPay,
};
inline constexpr std::size_t kTraceFigureCount = 20;

// Every figure, in the explanation's order.
const std::array<TraceFigure, kTraceFigureCount>& TraceFigures();
// The caption the main window gives the figure ("Federal Tax").
std::string_view TraceFigureCaption(TraceFigure figure);
// The figure's key among kestrel-calc's display texts ("federal").
std::string_view TraceFigureKey(TraceFigure figure);

struct TraceValue {
    std::string name;
    double value = 0;
};

struct TraceStep {
    TraceFigure figure = TraceFigure::GrossPay;
    std::string step;  // what was done, in a few words
    std::vector<TraceValue> values;
    double result = 0;
    std::string text;  // the step in plain words with its numbers
};

class CalcTrace {
  public:
    void Add(TraceFigure figure, std::string step, std::vector<TraceValue> values, double result,
             std::string text);

    const std::vector<TraceStep>& Steps() const { return steps_; }
    // The steps of one figure, in the order they were taken.
    std::vector<const TraceStep*> Section(TraceFigure figure) const;

  private:
    std::vector<TraceStep> steps_;
};

// Numbers as the explanation writes them: an amount with two decimals ("496.92"), any other
// figure in the fewest digits that give it back ("0.0685", "435"), a rate as a percentage
// ("15%", "6.2%").
std::string TraceAmount(double value);
std::string TraceNumber(double value);
std::string TracePercent(double fraction);

// One figure's section as the Explain window shows it: its caption, then one line per step.
std::string TraceSectionText(const CalcTrace& trace, TraceFigure figure);
// Every figure's section, a blank line between them.
std::string TraceText(const CalcTrace& trace);

}  // namespace kestrel
