#include "printing/dlg_print_set.h"

#include <array>
#include <cmath>
#include <string>

#include "app/program.h"
#include "employee/employee_files.h"
#include "platform/numbers.h"
#include "printing/paycheck.h"

namespace kestrel {

namespace {

// Twips.
constexpr int kMargin = 240;
constexpr int kWidth = 7080;
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kLabelHeight = 255;
constexpr int kBoxHeight = 315;
constexpr int kBoxesTop = 540;
constexpr int kButtonsTop = 2940;
constexpr int kButtonHeight = 420;
constexpr int kHeight = kButtonsTop + kButtonHeight + kMargin;

constexpr std::array<const char*, 11> kOffsetChoices{"+5", "+4", "+3", "+2", "+1", "0",
                                                     "-1", "-2", "-3", "-4", "-5"};

constexpr const char* kInstructions =
    "Before printing on actual checks, print on plain printer paper. Match up by holding the "
    "printed paper behind the actual blank check sheet and hold up to light. To adust change "
    "settings above until disired settings are achived";

// A stored offset as the box shows it: a whole number without a plus sign.
std::string WholeText(float offset) {
    const double whole = RoundWholeEven(static_cast<double>(offset));
    if (!std::isfinite(whole)) return "0";
    return std::to_string(static_cast<long long>(whole));
}

}  // namespace

dlgPrintSet::dlgPrintSet(Program& program)
    : FormOf(program.host, "dlgPrintSet", FormKind::Modeless), program_(program) {}

void dlgPrintSet::BuildUi(dlgPrintSetUi& ui) {
    SetCaption("Printer Offset");
    SetGeometry({0, 0, kWidth, kHeight});

    auto label = [this](const std::string& name, Rect where, std::string caption) {
        auto& text = Add<Label>(name, where);
        text.SetCaption(std::move(caption));
        return &text;
    };
    auto offsets = [this](const std::string& name, Rect where) {
        auto& box = Add<ComboBox>(name, where);
        for (const char* choice : kOffsetChoices)
            box.AddItem(choice);
        box.SetEditable(true);
        box.SetSelectAllOnFocus(true);
        return &box;
    };
    auto button = [this](const std::string& name, Rect where, std::string caption) {
        auto& command = Add<CommandButton>(name, where);
        command.SetCaption(std::move(caption));
        return &command;
    };

    ui.lbHeading = label("lbHeading", {kMargin, 120, kInner, kLabelHeight}, "OFFSET ADJUSTMENT");
    ui.lbHeading->SetFont({0, true});
    ui.lbHeading->SetAlignment(Align::Center);
    ui.lbHorizontal =
        label("lbHorizontal", {kMargin, kBoxesTop + 30, 1320, kLabelHeight}, "Horizontal ");
    ui.cboHorizontal = offsets("cboHorizontal", {kMargin + 1380, kBoxesTop, 960, kBoxHeight});
    ui.lbVertical = label("lbVertical", {3600, kBoxesTop + 30, 960, kLabelHeight}, "Vertical");
    ui.cboVertical = offsets("cboVertical", {4620, kBoxesTop, 960, kBoxHeight});
    ui.lbWeekEnd = label("lbWeekEnd", {kMargin, 1020, kInner, kLabelHeight}, "");
    ui.lbWeekEnd->SetAlignment(Align::Center);
    ui.lbInstructions = label("lbInstructions", {kMargin, 1380, kInner, 1380}, kInstructions);

    ui.cmdApply = button("cmdApply", {kMargin, kButtonsTop, 1200, kButtonHeight}, "&Apply");
    ui.cmdApply->Click = [this] { cmdApply_Click(); };
    ui.cmdCancel = button("cmdCancel", {1560, kButtonsTop, 1200, kButtonHeight}, "&Cancel");
    ui.cmdCancel->Click = [this] { cmdCancel_Click(); };
    ui.cmdPrintCheck =
        button("cmdPrintCheck", {2880, kButtonsTop, 1440, kButtonHeight}, "Print Check");
    ui.cmdPrintCheck->Click = [this] { cmdPrintCheck_Click(); };
    ui.cmdAlignment =
        button("cmdAlignment", {4440, kButtonsTop, kWidth - kMargin - 4440, kButtonHeight},
               "Print A&lignment Page");
    ui.cmdAlignment->Click = [this] { cmdAlignment_Click(); };
}

void dlgPrintSet::OnLoad() {
    // The stored offsets, not what memory holds: the dialog always starts from the file. The
    // overtime rows stay as the overtime window keeps them until a save.
    LoadProfileFiles(program_, false);
    dlgPrintSetUi& boxes = ui();
    boxes.cboHorizontal->SetText(WholeText(program_.offsets.Horizontal));
    boxes.cboVertical->SetText(WholeText(program_.offsets.Vertical));
    boxes.lbWeekEnd->SetCaption(program_.form1.ui().txtWeekEnd->Text());
}

std::optional<PrintOffsets> dlgPrintSet::ReadBoxes() {
    dlgPrintSetUi& boxes = ui();
    struct Box {
        const ComboBox* box;
        const char* name;
        float PrintOffsets::*field;
    };
    const std::array<Box, 2> both{Box{boxes.cboHorizontal, "Horizontal", &PrintOffsets::Horizontal},
                                  Box{boxes.cboVertical, "Vertical", &PrintOffsets::Vertical}};
    PrintOffsets read;
    for (const Box& each : both) {
        const std::optional<float> value = StrictSingle(each.box->Text());
        if (!value || !(std::fabs(*value) <= kLargestOffset)) {
            ShowMessage(program_.host,
                        std::string("The ") + each.name + " offset \"" + each.box->Text() +
                            "\" is not a number from -99 to 99. Nothing was stored or printed.",
                        MsgIcon::Warning);
            return std::nullopt;
        }
        read.*each.field = *value;
    }
    return read;
}

bool dlgPrintSet::cmdApply_Click() {
    const std::optional<PrintOffsets> read = ReadBoxes();
    if (!read) return false;
    program_.offsets = *read;
    // A failed save has been reported; the offsets still hold for this run.
    SaveOT(program_);
    return true;
}

void dlgPrintSet::cmdCancel_Click() {
    Unload();
}

void dlgPrintSet::cmdPrintCheck_Click() {
    if (!cmdApply_Click()) return;
    PrintCheck(program_);
    Unload();
}

void dlgPrintSet::cmdAlignment_Click() {
    const std::optional<PrintOffsets> read = ReadBoxes();
    if (!read) return;
    if (!program_.host.ChoosePrinter(DocumentName({"Check alignment", program_.ActiveUser})))
        return;
    program_.host.Print(AlignmentJob(program_, CheckHorizontal(*read), CheckVertical(*read)));
}

}  // namespace kestrel
