// The insert-part dialog: its template, the grid of the job's part types, the preview's file name and the ten
// insert buttons.
#include "nesting/manual/insert_part_dialog.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "cadlib/rectangle_names.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "host/ui/drawing_preview.h"
#include "host/ui/message_box.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/manual/manual_messages.h"

namespace {

using host::ui::DialogTemplate;

// The job-file type of a part drawn in a drawing.
constexpr int kDrawingType = 2;

// Rotation-type indices that show the sector.
constexpr int kRotationNone = 0;
constexpr int kRotationSector = 2;
constexpr int kRotationSectorAnd180 = 3;

struct GridColumn {
    int width;  // pixels; 0 hides the column
    const TwoLanguageText* heading;
};
constexpr std::array<GridColumn, kInsertColumns> kGridColumns{{
    {25, &kHeadingNumber},
    {0, &kHeadingFullPath},
    {0, &kHeadingFullPath},
    {184, &kHeadingFileName},
    {70, &kHeadingWidth},
    {70, &kHeadingHeight},
    {74, &kHeadingQuantity},
    {85, &kHeadingGrain},
    {90, &kHeadingRotation},
    {95, &kHeadingDelta},
    {95, &kHeadingSector},
    {80, &kHeadingPriority},  // 70 would cut the Russian heading
    {0, nullptr},
}};

// The ten insert buttons: id, text, automatic flag and angle text.
struct InsertButton {
    int id;
    const TwoLanguageText* text;
    bool automatic;
    const char* angle;
};
constexpr std::array<InsertButton, 10> kInsertButtons{{
    {kInsertAutoButton, &kInsertButtonText, true, kDragAngleText},
    {kInsertAutoPlus0Button, &kInsertPlus0ButtonText, true, "0"},
    {kInsertAutoPlus90Button, &kInsertPlus90ButtonText, true, "90"},
    {kInsertAutoPlus180Button, &kInsertPlus180ButtonText, true, "180"},
    {kInsertAutoMinus90Button, &kInsertMinus90ButtonText, true, "270"},
    {kInsertManualButton, &kInsertButtonText, false, kDragAngleText},
    {kInsertManualPlus0Button, &kInsertPlus0ButtonText, false, "0"},
    {kInsertManualPlus90Button, &kInsertPlus90ButtonText, false, "90"},
    {kInsertManualPlus180Button, &kInsertPlus180ButtonText, false, "180"},
    {kInsertManualMinus90Button, &kInsertMinus90ButtonText, false, "270"},
}};

// Layout in pixels: the grid across the top (its columns and a vertical scroll bar), the file name under it, the
// two rows of insert buttons in their group boxes, the preview beside them and Cancel at the foot on the right.
constexpr int kDialogWidth = 920;
constexpr int kDialogHeight = 396;
constexpr int kButtonWidth = 104;
constexpr int kButtonHeight = 24;
constexpr int kButtonStep = 112;
// Rows of the grid: one line of the font inside the cells' margins; the heading row holds two lines, as the
// longer headings wrap in their columns.
constexpr int kGridRowHeight = 28;
constexpr int kGridHeadingHeight = 44;

DialogTemplate InsertPartTemplate() {
    DialogTemplate t(kInsertDialogCaption.english, kDialogWidth, kDialogHeight, host::ui::TemplateUnits::Pixels);
    t.style |= host::ui::DS_CENTER;
    t.control(kGridWindowClass, kInsertGridId, "", {10, 10, 900, 220},
              host::ui::WS_TABSTOP | host::ui::WS_BORDER | host::ui::WS_VSCROLL);
    t.label(kInsertFileNameLabelText.english, {10, 240, 90, 16}, kInsertFileNameLabel);
    t.label("", {104, 240, 806, 16}, kInsertFileNameId);
    const auto row = [&t](int group, const TwoLanguageText& title, int top, std::size_t first) {
        t.groupBox(title.english, {10, top, 570, 62}, group);
        for (std::size_t b = 0; b < 5; ++b) {
            const InsertButton& button = kInsertButtons[first + b];
            const host::ui::TemplateRect rect{20 + static_cast<int>(b) * kButtonStep, top + 26, kButtonWidth,
                                              kButtonHeight};
            if (button.id == kInsertManualButton) {
                t.defaultButton(button.id, button.text->english, rect);
            } else {
                t.button(button.id, button.text->english, rect);
            }
        }
    };
    row(kInsertAutoGroup, kInsertAutomaticGroupText, 262, 0);
    row(kInsertManualGroup, kInsertManualGroupText, 330, 5);
    t.groupBox("", {590, 262, 190, 130});
    t.control(host::ui::kStaticClass, kInsertPreviewId, "", {600, 276, 170, 108},
              host::ui::SS_BITMAP | host::ui::SS_CENTERIMAGE);
    t.button(kInsertCancelButton, kInsertCancelButtonText.english, {806, 362, kButtonWidth, kButtonHeight});
    return t;
}

std::string Entry(std::span<const std::string_view> list, int index) {
    // a job file the dialog did not write may hold any index
    return index >= 0 && index < static_cast<int>(list.size()) ? std::string(list[static_cast<std::size_t>(index)])
                                                                : std::string();
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<std::string> Texts(std::span<const std::string_view> list) { return {list.begin(), list.end()}; }

}  // namespace

CDialogInsertPart::CDialogInsertPart(host::ui::Window* parent) : Dialog(InsertPartTemplate(), parent) {
    bindControl(kInsertGridId, grid_);
    bindControl(kInsertPreviewId, preview_);
}

void CDialogInsertPart::SetupInsertGrid() {
    FileNameText.clear();
    grid_.SetRowTotal(1);
    grid_.SetColumnTotal(kInsertColumns);
    grid_.SetFixedRowTotal(1);
    grid_.SetFixedColumnTotal(1);
    for (int c = 0; c < kInsertColumns; ++c) {
        const GridColumn& column = kGridColumns[static_cast<std::size_t>(c)];
        grid_.SetColumnPixelWidth(c, column.width);
        grid_.SetCellText(0, c, column.heading ? Localized(*column.heading) : "");
        const bool oneLine = c >= kInsertTypeColumn && c <= kInsertNameColumn;
        grid_.SetCellFormat(0, c, host::ui::DT_CENTER | (oneLine ? host::ui::DT_VCENTER | host::ui::DT_SINGLELINE
                                                                 : host::ui::DT_WORDBREAK));
    }
    grid_.SetRowPixelHeight(0, kGridHeadingHeight);
    grid_.SetColumnResize(false);
    grid_.SetRowResize(false);
    PriorityChoices = Texts(PriorityList);
    RotationChoices = Texts(RotationTypeList);
    DeltaChoices = Texts(DeltaAngleList);
    LastClickedCell = {0, 0};
    grid_.setScrollRange(host::ui::SB_VERT, 0, 100);
    grid_.enableScrollBar(host::ui::SB_VERT, host::ui::ESB_ENABLE_BOTH);
    grid_.showScrollBar(host::ui::SB_VERT, true);
}

int CDialogInsertPart::AddInsertRow(int /*row*/, int type, const std::string& path, const std::string& name) {
    double width = 0.0;
    double height = 0.0;
    std::string rowPath = path;
    if (type == kDrawingType) {
        if (ReadPartDrawingSize(path, width, height, false) != kSizeRead) return kInsertRowUnusable;
    } else {
        ParseRectangleName(path, width, height);
        std::filesystem::path block;
        GetRectangleBlockPath(block, InstallFolder, width, height);
        rowPath = block.string();
    }
    for (int r = grid_.FixedRowTotal(); r < grid_.RowTotal(); ++r) {
        if (SameIgnoringCase(grid_.GetCellText(r, kInsertNameColumn), name)) {
            host::ui::messageBox(FormatLocalized(kFileAlreadyInTable, name.c_str()), {},
                                 host::ui::MB_OK | host::ui::MB_ICONERROR, this);
            return kInsertRowRefused;
        }
    }
    const int at = grid_.InsertGridRow(std::nullopt);
    grid_.SetRowPixelHeight(at, kGridRowHeight);
    grid_.SetCellText(at, kInsertNumberColumn, host::sys::formatC("%i", at));
    grid_.SetCellFormat(at, kInsertNumberColumn, host::ui::DT_RIGHT | host::ui::DT_VCENTER | host::ui::DT_SINGLELINE);
    grid_.SetCellText(at, kInsertTypeColumn, host::sys::formatC("%i", type));
    grid_.SetCellText(at, kInsertPathColumn, rowPath);
    grid_.SetCellText(at, kInsertNameColumn, name);
    grid_.SetCellText(at, kInsertWidthColumn, host::sys::formatC("%4.2f", width));
    grid_.SetCellText(at, kInsertHeightColumn, host::sys::formatC("%4.2f", height));
    grid_.SetCellText(at, kInsertQuantityColumn, "1");
    grid_.SetCellText(at, kInsertGrainColumn, "0");
    grid_.SetCellText(at, kInsertRotationColumn, "0-360");
    grid_.SetCellText(at, kInsertDeltaColumn, "Any");
    grid_.SetCellText(at, kInsertSectorColumn, "");
    grid_.SetCellText(at, kInsertPriorityColumn, "3");
    for (int c = kInsertTypeColumn; c <= kInsertPriorityColumn; ++c) {
        grid_.SetCellState(at, c, grid_.GetCellState(at, c) | CellStateReadOnly);
        if (c >= kInsertWidthColumn) {
            grid_.SetCellFormat(at, c, host::ui::DT_CENTER | host::ui::DT_VCENTER | host::ui::DT_SINGLELINE);
        }
    }
    return kInsertRowAdded;
}

void CDialogInsertPart::ShowPlacedCounts(int row, int placed, int total, double grainAngle, int rotationMode,
                                         int deltaIndex, double sector, int priorityIndex) {
    if (row < grid_.FixedRowTotal() || row >= grid_.RowTotal()) return;
    grid_.SetCellText(row, kInsertQuantityColumn, host::sys::formatC("%i/%i", placed, total));
    grid_.SetCellText(row, kInsertGrainColumn, host::sys::formatC("%i", static_cast<int>(grainAngle)));
    grid_.SetCellText(row, kInsertRotationColumn, Entry(RotationTypeList, rotationMode));
    if (rotationMode == kRotationNone) {
        grid_.SetCellText(row, kInsertDeltaColumn, "");
        grid_.SetCellText(row, kInsertSectorColumn, "");
    } else {
        grid_.SetCellText(row, kInsertDeltaColumn, Entry(DeltaAngleList, deltaIndex));
        const bool showsSector = rotationMode == kRotationSector || rotationMode == kRotationSectorAnd180;
        grid_.SetCellText(row, kInsertSectorColumn,
                          showsSector ? host::sys::formatC("%i", static_cast<int>(sector)) : std::string());
    }
    grid_.SetCellText(row, kInsertPriorityColumn, Entry(PriorityList, priorityIndex));
    grid_.SetCellText(row, kInsertRemainingColumn,
                      placed == total ? std::string() : host::sys::formatC("%i", total - placed));
    if (placed == total || total == 0) {
        const host::ui::ColorRef colour = total == 0 ? kNoCopiesColour : kAllPlacedColour;
        for (int c = kInsertTypeColumn; c <= kInsertPriorityColumn; ++c) grid_.SetCellBackColour(row, c, colour);
    }
}

void CDialogInsertPart::ShowInsertPreview() {
    if (!exists()) return;
    const CellRef focus = grid_.FocusCell();
    if (grid_.SelectedCellCount() == 0 && focus.row < 0) {
        FileNameText.clear();
        preview_.show(host::ui::SW_HIDE);
        preview_.enable(false);
        updateData(false);
        return;
    }
    preview_.show(host::ui::SW_HIDE);
    preview_.show(host::ui::SW_SHOW);
    if (focus.row >= grid_.FixedRowTotal() && focus.row < grid_.RowTotal()) {
        FileNameText = grid_.GetCellText(focus.row, kInsertPathColumn);
        // The part's drawing as the job dialog shows it; nothing when it cannot be read.
        preview_.enable(host::ui::displayPreviewFromDrawing(FileNameText, preview_));
    } else {
        FileNameText.clear();
        preview_.setBitmap(nullptr);
        preview_.enable(false);
    }
    updateData(false);
    grid_.enableScrollBar(host::ui::SB_VERT, host::ui::ESB_ENABLE_BOTH);
}

bool CDialogInsertPart::onInitDialog() {
    SetupInsertGrid();
    if (FillRows) FillRows(*this);
    if (grid_.RowTotal() > grid_.FixedRowTotal()) {
        grid_.MoveFocusToCell(1, kInsertHeightColumn);
        grid_.SelectCellBlock(1, kInsertHeightColumn, 1, kInsertHeightColumn, false, true);
    }
    ShowInsertPreview();
    updateData(false);
    setText(Localized(kInsertDialogCaption));
    setItemText(kInsertAutoGroup, Localized(kInsertAutomaticGroupText));
    setItemText(kInsertManualGroup, Localized(kInsertManualGroupText));
    for (const InsertButton& button : kInsertButtons) setItemText(button.id, Localized(*button.text));
    setItemText(kInsertCancelButton, Localized(kInsertCancelButtonText));
    setItemText(kInsertFileNameLabel, Localized(kInsertFileNameLabelText));
    invalidate();
    return true;
}

void CDialogInsertPart::doDataExchange(host::ui::DataExchange& dx) { dx.text(kInsertFileNameId, FileNameText); }

bool CDialogInsertPart::onCommand(int id, int code, host::ui::Window* control) {
    if (code == host::ui::BN_CLICKED) {
        for (const InsertButton& button : kInsertButtons) {
            if (button.id == id) {
                ChooseInsertion(button.angle, button.automatic);
                return true;
            }
        }
        if (id == kInsertCancelButton) {
            endDialog(host::ui::IDCANCEL);
            return true;
        }
    }
    return Dialog::onCommand(id, code, control);
}

bool CDialogInsertPart::onNotify(const host::ui::NotifyHeader& header, std::intptr_t& result) {
    if (header.id == kInsertGridId && header.code == GridClickCode) {
        const auto* record = reinterpret_cast<const GridNotifyRecord*>(&header);
        LastClickedCell = {record->row, record->column};
        ShowInsertPreview();
        result = 0;
        return true;
    }
    return Dialog::onNotify(header, result);
}

void CDialogInsertPart::onOK() { ChooseInsertion(kDragAngleText, false); }

void CDialogInsertPart::ChooseInsertion(const char* angleText, bool automatic) {
    const int row = grid_.FocusCell().row;
    if (row < grid_.FixedRowTotal() || row >= grid_.RowTotal()) {
        endDialog(host::ui::IDCANCEL);
        return;
    }
    if (grid_.GetCellText(row, kInsertRemainingColumn).empty()) {
        host::ui::messageBox(FormatLocalized(kAllDetailsPlaced, grid_.GetCellText(row, kInsertNameColumn).c_str()), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR, this);
        return;
    }
    chosenRow_ = row;
    AutomaticInsert = automatic ? 1 : 0;
    InsertAngleText = angleText;
    endDialog(host::ui::IDOK);
}
