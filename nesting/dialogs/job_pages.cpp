// The stock page and the part page of the job dialog: their layouts, columns and own fields, the material of the
// job, and the rotation rules of the part rows.
#include "nesting/dialogs/job_pages.h"

#include "cadlib/material_dialogs.h"
#include "host/reg/machine_registry.h"
#include "host/sys/number_text.h"
#include "host/ui/data_exchange.h"
#include "nesting/dialogs/dialog_messages.h"
#include "nesting/grid/grid_ctrl.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/job/job_file_reader.h"
#include "nesting/model/model_limits.h"

namespace ui = host::ui;

namespace {

// The widest angular sector a part row takes, in degrees.
constexpr double kMaxSector = 360.0;
// Registry values longer than this many characters take their default (they would not fit the field).
constexpr std::size_t kMaxRegistryChars = 149;

constexpr unsigned kHeadingOneLine = ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE;
constexpr unsigned kCentred = ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE;
constexpr unsigned kLeft = ui::DT_LEFT | ui::DT_VCENTER | ui::DT_SINGLELINE;
constexpr unsigned kRight = ui::DT_RIGHT | ui::DT_VCENTER | ui::DT_SINGLELINE;

// Stock page controls.
enum StockId {
    kStockGridId = 215, kStockPreviewId = 216, kAddStockDwgId = 217, kDeleteStockId = 218, kDeleteAllStockId = 219,
    kMaterialId = 220, kDensityId = kStockDensityId, kSelectMaterialId = 222, kStockFileNameId = 233,
    kStockRectGroupId = 263,
    kStockWidthLabelId = 264, kStockHeightLabelId = 265, kStockFileLabelId = 266, kMaterialGroupId = 267,
    kMaterialLabelId = 268, kMaterialNumLabelId = 269, kDensityLabelId = 270, kThicknessLabelId = 271,
    kStockWidthId = 246, kStockHeightId = 247, kMaterialNumId = 249, kStockNameId = 278,
    kStockNameLabelId = 279, kAddStockRectId = 237, kStockPreviewGroupId = 280,
};

// Part page controls.
enum PartId {
    kPartGridId = 223, kPartPreviewId = 224, kAddPartDwgId = 225, kDeleteAllPartId = 227, kDeletePartId = 228,
    kPartFileNameId = 232, kPartRectGroupId = 258, kPartWidthLabelId = 259, kPartHeightLabelId = 260,
    kPartFileLabelId = 261, kPartWidthId = 201, kPartHeightId = 248, kOptimizeAreaId = 272,
    kOptimizeWidthId = 273, kOptimizationGroupId = 274, kSetOptionId = 275, kPartNameId = 276,
    kPartNameLabelId = 277, kAddPartRectId = 237, kPartPreviewGroupId = 281,
};

// Both pages: 590 x 268 dialog units; the table across the top, the buttons and the file name under it, then
// the groups side by side. The table is 876 pixels wide: the 851 pixels of either table's columns, its
// vertical scroll bar and its border, so no horizontal scroll bar is needed.
constexpr int kPageWidth = 590;
constexpr int kPageHeight = 268;

ui::DialogTemplate PageFrame() {
    ui::DialogTemplate t("", kPageWidth, kPageHeight);
    t.style = ui::WS_CHILD | ui::DS_CONTROL | ui::DS_SETFONT;
    return t;
}

void AddTableAndButtons(ui::DialogTemplate& t, int gridId, int addDwgId, int deleteId, int deleteAllId,
                        int fileLabelId, int fileNameId) {
    t.control(kGridWindowClass, gridId, "", {2, 2, 584, 142}, ui::WS_BORDER | ui::WS_TABSTOP)
        .button(addDwgId, "Add DWG", {4, 148, 92, 14})
        .button(deleteId, "Delete", {100, 148, 60, 14})
        .button(deleteAllId, "Delete All", {164, 148, 60, 14})
        .label("File Name:", {232, 151, 44, 8}, fileLabelId)
        .edit(fileNameId, {278, 149, 308, 12}, ui::ES_READONLY | ui::ES_AUTOHSCROLL);
}

void AddRectangleGroup(ui::DialogTemplate& t, int x, int groupId, int widthLabelId, int widthId, int heightLabelId,
                       int heightId, int nameLabelId, int nameId, int addId) {
    t.groupBox("Rectangle", {x, 166, 200, 98}, groupId)
        .label("Width", {x + 6, 180, 44, 8}, widthLabelId)
        .edit(widthId, {x + 52, 178, 140, 12}, ui::ES_AUTOHSCROLL)
        .label("Height", {x + 6, 196, 44, 8}, heightLabelId)
        .edit(heightId, {x + 52, 194, 140, 12}, ui::ES_AUTOHSCROLL)
        .label("Name", {x + 6, 212, 44, 8}, nameLabelId)
        .edit(nameId, {x + 52, 210, 140, 12}, ui::ES_AUTOHSCROLL)
        .button(addId, "Add Rectangle", {x + 52, 228, 110, 14});
}

void AddPreviewGroup(ui::DialogTemplate& t, int x, int groupId, int previewId) {
    t.groupBox("Preview", {x, 166, kPageWidth - 4 - x, 98}, groupId)
        .control(ui::kStaticClass, previewId, "", {x + 6, 178, kPageWidth - 16 - x, 80},
                 ui::SS_BITMAP | ui::SS_CENTERIMAGE | ui::WS_BORDER);
}

ui::DialogTemplate StockTemplate() {
    ui::DialogTemplate t = PageFrame();
    AddTableAndButtons(t, kStockGridId, kAddStockDwgId, kDeleteStockId, kDeleteAllStockId, kStockFileLabelId,
                       kStockFileNameId);
    t.groupBox("Material", {4, 166, 230, 98}, kMaterialGroupId)
        .label("Material", {10, 180, 70, 8}, kMaterialLabelId)
        .edit(kMaterialId, {84, 178, 144, 12}, ui::ES_AUTOHSCROLL)
        .label("Material Num", {10, 196, 70, 8}, kMaterialNumLabelId)
        .edit(kMaterialNumId, {84, 194, 144, 12}, ui::ES_AUTOHSCROLL)
        .label("Density", {10, 212, 70, 8}, kDensityLabelId)
        .edit(kDensityId, {84, 210, 144, 12}, ui::ES_AUTOHSCROLL)
        .label("Thickness", {10, 228, 70, 8}, kThicknessLabelId)
        .edit(kStockThicknessId, {84, 226, 144, 12}, ui::ES_AUTOHSCROLL)
        .button(kSelectMaterialId, "Select Material", {84, 244, 100, 14});
    AddRectangleGroup(t, 240, kStockRectGroupId, kStockWidthLabelId, kStockWidthId, kStockHeightLabelId,
                      kStockHeightId, kStockNameLabelId, kStockNameId, kAddStockRectId);
    AddPreviewGroup(t, 446, kStockPreviewGroupId, kStockPreviewId);
    return t;
}

ui::DialogTemplate PartTemplate() {
    ui::DialogTemplate t = PageFrame();
    AddTableAndButtons(t, kPartGridId, kAddPartDwgId, kDeletePartId, kDeleteAllPartId, kPartFileLabelId,
                       kPartFileNameId);
    AddRectangleGroup(t, 4, kPartRectGroupId, kPartWidthLabelId, kPartWidthId, kPartHeightLabelId, kPartHeightId,
                      kPartNameLabelId, kPartNameId, kAddPartRectId);
    // The optimisation option is in the layout but nothing shows it.
    t.groupBox("Optimization option", {210, 166, 160, 98}, kOptimizationGroupId)
        .radio(kOptimizeAreaId, "Optimize the area", {216, 180, 140, 10}, true)
        .radio(kOptimizeWidthId, "Optimize width", {216, 194, 140, 10}, false)
        .button(kSetOptionId, "Set option", {216, 210, 80, 14});
    AddPreviewGroup(t, 376, kPartPreviewGroupId, kPartPreviewId);
    return t;
}

std::vector<TableColumn> StockColumns() {
    return {{kNumberHeading, 30, kCentred, kRight},
            {kTypeStockHeading, 0, kHeadingOneLine, kCentred},
            {kFullPathHeading, 0, kHeadingOneLine, kLeft},
            {kFileNameHeading, 336, kHeadingOneLine, kLeft},
            {kWidthHeading, 110, kCentred, kCentred},
            {kHeightHeading, 110, kCentred, kCentred},
            {kQtyHeading, 80, kCentred, kCentred},
            {kStockGrainHeading, 100, kCentred, kCentred},
            {kPriorityHeading, 85, kCentred, kCentred}};
}

std::vector<TableColumn> PartColumns() {
    return {{kNumberHeading, 25, kCentred, kRight},
            {kTypePartHeading, 0, kHeadingOneLine, kCentred},
            {kFullPathHeading, 0, kHeadingOneLine, kLeft},
            {kFileNameHeading, 192, kHeadingOneLine, kLeft},
            {kWidthHeading, 75, kCentred, kCentred},
            {kHeightHeading, 75, kCentred, kCentred},
            {kQtyHeading, 49, kCentred, kCentred},
            {kPartGrainHeading, 85, kCentred, kCentred},
            {kTypeRotateHeading, 90, kCentred, kCentred},
            {kDeltaAngleHeading, 95, kCentred, kCentred},
            {kSectorHeading, 95, kCentred, kCentred},
            {kPriorityHeading, 70, kCentred, kCentred}};
}

std::string RegistryText(const host::reg::RegistryKey& key, const char* name, const std::string& fallback) {
    const std::optional<std::string> value = key.getString(name);
    return value && value->size() <= kMaxRegistryChars ? *value : fallback;
}

// The text of a list at an index; empty for an index outside it (a file the dialog did not write).
std::string ListText(std::span<const std::string_view> list, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size() ? std::string(list[static_cast<std::size_t>(index)])
                                                                        : std::string();
}

}  // namespace

// [SECTION] Stock page

CPageStock::CPageStock()
    : JobTablePage({kStockGridId, kStockPreviewId, kStockFileNameId, kStockWidthId, kStockHeightId, kStockNameId,
                    kAddStockDwgId, kDeleteStockId, kDeleteAllStockId, kAddStockRectId},
                   {kStockCaption, kBadStockRectangle, kStockRectangleFormat}, StockColumns()) {
    dialogTemplate() = StockTemplate();
}

bool CPageStock::onInitDialog() {
    ReadRegistryDefaults();
    return JobTablePage::onInitDialog();
}

void CPageStock::ReadRegistryDefaults() {
    const host::reg::RegistryKey key = host::reg::productKey();
    DirMaterial = RegistryText(key, "DirMaterial", "c:\\");
    MaterialText = RegistryText(key, "Material", "");
    MaterialNumText = RegistryText(key, "Material_Num", "");
    DensityText = RegistryText(key, "Density", "7.85e-06");
    ThicknessText = RegistryText(key, "Thin", "1.0");
}

void CPageStock::SetOwnTexts() {
    LimitTyping(kMaterialId, kMaxMaterialChars);
    LimitTyping(kMaterialNumId, kMaxMaterialChars);
    LimitTyping(kDensityId, kMaxNumberChars);
    LimitTyping(kStockThicknessId, kMaxNumberChars);
    SetText(kAddStockDwgId, kAddStockDwgButton);
    SetText(kDeleteStockId, kDeleteButton);
    SetText(kDeleteAllStockId, kDeleteAllButton);
    SetText(kMaterialGroupId, kMaterialGroup);
    SetText(kMaterialLabelId, kMaterialLabel);
    SetText(kMaterialNumLabelId, kMaterialNumLabel);
    SetText(kDensityLabelId, kDensityLabel);
    SetText(kThicknessLabelId, kThicknessLabel);
    SetText(kSelectMaterialId, kSelectMaterialButton);
    SetText(kStockFileLabelId, kFileNameLabel);
    SetText(kStockRectGroupId, kRectangleStockGroup);
    SetText(kStockWidthLabelId, kWidthLabel);
    SetText(kStockHeightLabelId, kHeightLabel);
    SetText(kStockNameLabelId, kNameLabel);
    SetText(kAddStockRectId, kAddStockRectangleButton);
}

void CPageStock::ExchangeOwnFields(ui::DataExchange& dx) {
    dx.text(kMaterialId, MaterialText);
    dx.text(kMaterialNumId, MaterialNumText);
    dx.text(kDensityId, DensityText);
    dx.text(kStockThicknessId, ThicknessText);
}

void CPageStock::FillNewRowCells(int row) {
    MakeComboCell(row, kStockPriorityColumn, PriorityList, "3");
}

void CPageStock::SetStockRowValues(int row, int quantity, double grain, int priorityIndex) {
    Grid.SetCellText(row, kQuantityColumn, std::to_string(quantity));
    Grid.SetCellText(row, kGrainColumn, std::to_string(static_cast<int>(grain)));
    Grid.SetCellText(row, kStockPriorityColumn, ListText(PriorityList, priorityIndex));
}

int CPageStock::QuantityLimit() const { return kMaxStockInstances; }

bool CPageStock::OnOwnCommand(int id, int code) {
    if (code == ui::EN_CHANGE && id == kDensityId) {
        CheckNumericText(*this, id, DensityText, "01234567890.eE-");
        return true;
    }
    if (code == ui::EN_CHANGE && id == kStockThicknessId) {
        CheckNumericText(*this, id, ThicknessText, "01234567890.");
        return true;
    }
    if (code == ui::BN_CLICKED && id == kSelectMaterialId) {
        SelectMaterial();
        return true;
    }
    return false;
}

void CPageStock::SelectMaterial() {
    ReadControls();
    if (ChooseMaterialFile(DirMaterial, MaterialText, DensityText, MaterialNumText) != 0) return;
    RefreshControls();
}

// [SECTION] Part page

CPagePart::CPagePart()
    : JobTablePage({kPartGridId, kPartPreviewId, kPartFileNameId, kPartWidthId, kPartHeightId, kPartNameId,
                    kAddPartDwgId, kDeletePartId, kDeleteAllPartId, kAddPartRectId},
                   {kPartCaption, kBadPartRectangle, kPartRectangleFormat}, PartColumns()) {
    dialogTemplate() = PartTemplate();
}

bool CPagePart::onInitDialog() {
    const std::optional<std::string> option = host::reg::productKey().getString("NestingOptimizationOption");
    // A value that is not one whole number is taken as none (the settings reader tells of it).
    const std::optional<int> value =
        option && option->size() <= kMaxRegistryChars ? host::sys::fieldInteger(*option) : std::nullopt;
    if (value) {
        if (*value == 0) OptimizeAreaCheck = 1;
        if (*value == 2) OptimizeWidthCheck = 1;
    } else {
        OptimizeWidthCheck = 1;
    }
    const bool answer = JobTablePage::onInitDialog();
    for (int id : {kOptimizationGroupId, kOptimizeAreaId, kOptimizeWidthId, kSetOptionId})
        if (ui::Window* w = item(id)) w->show(ui::SW_HIDE);
    return answer;
}

void CPagePart::SetupPartGrid() {
    SetupTable();
    LastClickedCell = {0, 0};
}

void CPagePart::SetOwnTexts() {
    SetText(kAddPartDwgId, kAddPartDwgButton);
    SetText(kDeletePartId, kDeleteButton);
    SetText(kDeleteAllPartId, kDeleteAllButton);
    SetText(kPartFileLabelId, kFileNameLabel);
    SetText(kPartRectGroupId, kRectanglePartGroup);
    SetText(kPartWidthLabelId, kWidthLabel);
    SetText(kPartHeightLabelId, kHeightLabel);
    SetText(kPartNameLabelId, kNameLabel);
    SetText(kAddPartRectId, kAddPartRectangleButton);
    SetText(kOptimizationGroupId, kOptimizationGroup);
    SetText(kOptimizeAreaId, kOptimizeArea);
    SetText(kOptimizeWidthId, kOptimizeWidth);
    SetText(kSetOptionId, kSetOptionButton);
}

void CPagePart::ExchangeOwnFields(ui::DataExchange& dx) {
    dx.check(kOptimizeAreaId, OptimizeAreaCheck);
    dx.check(kOptimizeWidthId, OptimizeWidthCheck);
}

void CPagePart::FillNewRowCells(int row) {
    MakeComboCell(row, kRotationColumn, RotationTypeList, "0-360");
    MakeComboCell(row, kDeltaColumn, DeltaAngleList, "Any");
    Grid.SetCellText(row, kSectorColumn, "");
    MakeComboCell(row, kPartPriorityColumn, PriorityList, "3");
    for (int c = kRotationColumn; c <= kPartPriorityColumn; ++c) Grid.SetCellFormat(row, c, kCentred);
}

void CPagePart::SetPartRowValues(int row, int quantity, double grain, int rotationIndex, int deltaIndex,
                                 double sector, int priorityIndex) {
    Grid.SetCellText(row, kQuantityColumn, std::to_string(quantity));
    Grid.SetCellText(row, kGrainColumn, std::to_string(static_cast<int>(grain)));
    Grid.SetCellFormat(row, kGrainColumn, kCentred);
    Grid.SetCellText(row, kRotationColumn, ListText(RotationTypeList, rotationIndex));
    if (rotationIndex == 0) {
        Grid.SetCellText(row, kDeltaColumn, "");
        Grid.SetCellText(row, kSectorColumn, "");
    } else {
        Grid.SetCellText(row, kDeltaColumn, ListText(DeltaAngleList, deltaIndex));
        Grid.SetCellText(row, kSectorColumn,
                         rotationIndex == 2 || rotationIndex == 3 ? std::to_string(static_cast<int>(sector)) : "");
    }
    Grid.SetCellText(row, kPartPriorityColumn, ListText(PriorityList, priorityIndex));
}

void CPagePart::ApplyRotationRules(CellRef clicked) {
    if (!(clicked == LastClickedCell)) {
        const int row = LastClickedCell.row;
        const bool dataRow = row >= 1 && row < Grid.RowTotal();
        if (dataRow && LastClickedCell.column == kRotationColumn) {
            const std::string type = Grid.GetCellText(row, kRotationColumn);
            const bool sector = type == "Sector" || type == "Sector+180";
            if (type == "No Rotate") {
                Grid.SetCellText(row, kDeltaColumn, "");
                Grid.SetCellText(row, kSectorColumn, "");
            } else if (type == "0-360" || sector) {
                if (Grid.GetCellText(row, kDeltaColumn).empty()) Grid.SetCellText(row, kDeltaColumn, "Any");
                if (!sector) Grid.SetCellText(row, kSectorColumn, "");
                if (sector && Grid.GetCellText(row, kSectorColumn).empty()) Grid.SetCellText(row, kSectorColumn, "30");
            }
            if (type == "No Rotate" || type == "0-360" || sector) Grid.RepaintRow(row);
        }
        if (dataRow && LastClickedCell.column == kSectorColumn) {
            const std::string type = Grid.GetCellText(row, kRotationColumn);
            if (type == "No Rotate" || type == "0-360") {
                Grid.SetCellText(row, kSectorColumn, "");
                Grid.RepaintRow(row);
            }
        }
    }
    LastClickedCell = clicked;
    ShowPartPreview();
}

void CPagePart::OnTableClick(const GridNotifyRecord& record) { ApplyRotationRules({record.row, record.column}); }

int CPagePart::QuantityLimit() const { return kMaxPartInstances; }

std::string CPagePart::CellRefusal(int row, int column, const std::string& text) {
    // A part that is not turned has no angle step: its cell may be emptied, as the rotation rules empty it.
    if (column == kDeltaColumn && text.empty() && Grid.GetCellText(row, kRotationColumn) == RotationTypeList[0])
        return {};
    // The sector is the whole turn a part may take about its pose: empty where the rotation type has none.
    if (column == kSectorColumn) {
        if (text.empty() || host::sys::parseReal(text, 0.0, kMaxSector).ok()) return {};
        return FormatLocalized(kBadAngle, Grid.GetCellText(0, column).c_str(), 0.0, kMaxSector, text.c_str());
    }
    return JobTablePage::CellRefusal(row, column, text);
}

bool CPagePart::OnOwnCommand(int id, int code) {
    if (code == ui::BN_CLICKED && id == kSetOptionId) {
        SaveOptimizationOption();
        return true;
    }
    return false;
}

void CPagePart::SaveOptimizationOption() {
    ReadControls();
    host::reg::RegistryKey key = host::reg::productKey();
    if (key.exists()) key.setString("NestingOptimizationOption", OptimizeWidthCheck == 1 ? "2" : "0");
}
