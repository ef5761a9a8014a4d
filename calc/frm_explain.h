// The Explain window: the working of the last calculation, one section per figure of the main
// window, read-only, to print or copy. It shows what the calculation recorded as it ran; it never
// works a figure out again.
#pragma once

#include <optional>
#include <string>

#include "calc/calc_trace.h"
#include "platform/form.h"

namespace kestrel {

class Program;

struct frmExplainUi {
    Label* lblHeading = nullptr;
    TextBox* txtTrace = nullptr;
    CommandButton* cmdPrint = nullptr;
    CommandButton* cmdCopy = nullptr;
    CommandButton* cmdClose = nullptr;
};

class frmExplain : public FormOf<frmExplainUi> {
  public:
    explicit frmExplain(Program& program);

    // Shows the window with the last calculation's working, at `figure`'s section when given.
    void OpenAt(std::optional<TraceFigure> figure = std::nullopt);
    // Brings an open window up to date after a calculation.
    void Refresh();

    // The text the window shows, with "\r\n" line breaks.
    std::string TraceShown() const;

  protected:
    void BuildUi(frmExplainUi& ui) override;

  private:
    void PrintTrace();

    Program& program_;
};

}  // namespace kestrel
