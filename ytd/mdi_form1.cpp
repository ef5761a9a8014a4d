#include "ytd/mdi_form1.h"

#include "app/program.h"
#include "ytd/year_to_date.h"
#include "ytd/ytd_report.h"

namespace kestrel {

MDIForm1::MDIForm1(Program& program)
    : FormOf(program.host, "MDIForm1", FormKind::MdiContainer), program_(program) {
    QueryUnload = [this](CloseReason) {
        if (!closePermitted_) {
            ShowMessage(GetHost(), "USE CLOSE INSTEAD");
            return false;
        }
        closePermitted_ = false;
        return true;
    };
    Paint = [this] { FollowGridWidth(); };
}

void MDIForm1::BuildUi(MDIForm1Ui& ui) {
    SetCaption("Year To Date");
    SetGeometry({0, 0, 11472 + kWidthBeyondGrid, 12075 + 960 + 120});
    ui.mnuClose = &AddMenu("mnuClose", "&Close");
    ui.mnuClose->Click = [this] { CloseYearToDate(program_); };
    ui.mnuPrint = &AddMenu("mnuPrint", "&Print");
    ui.mnuPrint->Click = [this] { PrintYr(program_); };
    ui.mnuClear = &AddMenu("mnuClear", "C&lear");
    ui.mnuClearAll = &AddMenu("mnuClearAll", "&Clear All", ui.mnuClear);
    ui.mnuClearAll->Click = [this] { ClearAllConfirmed(program_); };
    ui.mnuAdd = &AddMenu("mnuAdd", "&Add");
    ui.mnuAdd->Click = [this] { Recalculate(program_); };
    ui.mnuExcel = &AddMenu("mnuExcel", "&Excel");
    ui.mnuExcel->Click = [this] { ExportYearToDate(program_); };
}

void MDIForm1::FollowGridWidth() {
    if (!program_.ytdGrid.IsLoaded()) return;
    Rect geometry = Geometry();
    geometry.width = program_.ytdGrid.Geometry().width + kWidthBeyondGrid;
    SetGeometry(geometry);
}

}  // namespace kestrel
