#include "employee/dialog_header.h"

#include <string>
#include <utility>

#include "app/program.h"
#include "employee/company_header.h"
#include "employee/profile_files.h"

namespace kestrel {

namespace {

// The record's four lines, in the order of the boxes.
constexpr std::array<std::string CompanyHeader::*, 4> kLines{
    &CompanyHeader::CompanyName, &CompanyHeader::CompanyAddress, &CompanyHeader::CompanyZipCode,
    &CompanyHeader::CompanyIdNumber};
constexpr std::array<const char*, 4> kPlaceholders{"Company", "Address", "Zip Code", "ID Number"};
constexpr std::array<const char*, 4> kCaptions{"Company Name", "Address", "City, State Zip",
                                               "ID Number"};

// Twips.
constexpr int kMargin = 240;
constexpr int kCaptionWidth = 1620;
constexpr int kBoxLeft = kMargin + kCaptionWidth + 60;
constexpr int kBoxWidth = 3960;
constexpr int kBoxHeight = 300;
constexpr int kRowPitch = 420;
constexpr int kRightEdge = kBoxLeft + kBoxWidth;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 390;
constexpr int kButtonsTop = kMargin + 3 * kRowPitch + kBoxHeight + 240;

std::string DamagedMessage(const std::string& fileName, const ReadError& error) {
    return "The company heading file is damaged and was not read:\r\n" +
           DescribeReadError(fileName, error);
}

std::string NotSavedMessage(const std::string& fileName, const WriteResult& written) {
    return "The company heading could not be saved to " + fileName + ":\r\n" + written.error +
           "\r\nThe file was left as it was.";
}

}  // namespace

DialogHeader::DialogHeader(Program& program)
    : FormOf(program.host, "DialogHeader", FormKind::Modeless), program_(program) {}

void DialogHeader::BuildUi(DialogHeaderUi& ui) {
    SetCaption("Print Out Heading");
    SetGeometry({0, 0, kRightEdge + kMargin, kButtonsTop + kButtonHeight + kMargin});

    for (std::size_t i = 0; i < kLines.size(); ++i) {
        const int index = static_cast<int>(i);
        const int top = kMargin + index * kRowPitch;
        ui.lbHeader[i] = &Add<Label>("lbHeader", {kMargin, top + 30, kCaptionWidth, 255}, index);
        ui.lbHeader[i]->SetCaption(kCaptions[i]);
        ui.txtHeader[i] = &Add<TextBox>("txtHeader", {kBoxLeft, top, kBoxWidth, kBoxHeight}, index);
        ui.txtHeader[i]->SetSelectAllOnFocus(true);
    }

    const int cancelLeft = kRightEdge - kButtonWidth;
    ui.cmdOK = &Add<CommandButton>(
        "cmdOK", {cancelLeft - 120 - kButtonWidth, kButtonsTop, kButtonWidth, kButtonHeight});
    ui.cmdOK->SetCaption("OK");
    ui.cmdOK->Click = [this] { cmdOK_Click(); };
    ui.cmdCancel =
        &Add<CommandButton>("cmdCancel", {cancelLeft, kButtonsTop, kButtonWidth, kButtonHeight});
    ui.cmdCancel->SetCaption("Cancel");
    ui.cmdCancel->Click = [this] { cmdCancel_Click(); };
}

void DialogHeader::OpenWindow() {
    if (IsVisible()) {
        Show();
        return;
    }
    program_.FollowWorkingFolder();
    CompanyHeader& header = program_.header;
    if (const std::optional<ReadError> damage = LoadCompanyHeader(header)) {
        ShowMessage(GetHost(), DamagedMessage(std::string(kHeaderFileName), *damage),
                    MsgIcon::Warning);
    }
    // Into the record itself: a stub printed after Cancel shows the placeholders too.
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        if ((header.*kLines[i]).empty()) header.*kLines[i] = kPlaceholders[i];
    }
    for (std::size_t i = 0; i < kLines.size(); ++i)
        ui().txtHeader[i]->SetText(header.*kLines[i]);
    Show();
}

void DialogHeader::cmdOK_Click() {
    CompanyHeader typed;
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        // The file cannot hold a double quote; the box shows what is kept instead.
        TextBox* box = ui().txtHeader[i];
        box->SetText(SanitizeRecordText(box->Text()));
        typed.*kLines[i] = box->Text();
    }
    const WriteResult written = SaveHeader(typed);
    if (!written) {
        ShowMessage(GetHost(), NotSavedMessage(std::string(kHeaderFileName), written),
                    MsgIcon::Warning);
        return;
    }
    program_.header = std::move(typed);
    Unload();
}

void DialogHeader::cmdCancel_Click() {
    Unload();
}

}  // namespace kestrel
