// The table pages of the job dialog: rows, the duplicate test, adding drawings and rectangles, deleting, the
// preview, the report of refused drawings and the check of numeric fields.
#include "nesting/dialogs/job_table_page.h"

#include <algorithm>
#include <cctype>
#include <tuple>

#include "cadlib/number_field_messages.h"
#include "cadlib/number_text.h"
#include "cadlib/rectangle_names.h"
#include "host/sys/number_text.h"
#include "host/ui/data_exchange.h"
#include "host/ui/drawing_preview.h"
#include "host/ui/message_box.h"
#include "host/ui/nav_dialog.h"
#include "nesting/dialogs/dialog_messages.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/grid/grid_cell_combo.h"
#include "nesting/job/job_value_ranges.h"

namespace ui = host::ui;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

// A title from a file name: ".dwg" (or ".dxf", the host's drawing extension), any case, removed when found
// after the first character.
std::string TitleOfFileName(const std::string& name) {
    const std::string lower = Lower(name);
    for (const char* extension : {".dwg", ".dxf"}) {
        const std::size_t at = lower.find(extension);
        if (at != std::string::npos && at > 0) return name.substr(0, at) + name.substr(at + 4);
    }
    return name;
}

// The duplicate key of a drawing row: its path's file name from whose first ".dwg" or ".dxf" on at most 40
// characters are removed. The extension is found in any case, as titles lose it in any case: with the lower case
// alone, a drawing stored as "A.DWG" kept its extension in its key, so the same drawing chosen again (title "A")
// was not found and the job got two types of one drawing.
std::string DrawingKey(const std::string& path) {
    std::string name;
    GetPathFileName(path, name);
    const std::string lower = Lower(name);
    for (const char* extension : {".dwg", ".dxf"}) {
        const std::size_t at = lower.find(extension);
        if (at != std::string::npos) return name.erase(at, 40);
    }
    return name;
}

double NumberOf(const std::string& text) { return host::sys::parseLeadingReal(text).value; }

}  // namespace

// [SECTION] Shared routines

int ReportJobFileProblems(const RefusedDrawings& refused, const std::function<void()>& openWithoutContours,
                          ui::Window* owner) {
    std::string message;
    if (!refused.missing.empty()) message = std::string(Localized(kReportMissing)) + refused.missing;
    if (!refused.duplicates.empty()) {
        if (!message.empty()) message += kReportSeparator;
        message += std::string(Localized(kReportDuplicate)) + refused.duplicates;
    }
    if (!refused.withoutContours.empty()) {
        if (!message.empty()) message += kReportSeparator;
        message += std::string(Localized(kReportNoContours)) + refused.withoutContours + "\n\r\n\r" +
                   Localized(kReportOpenWithout);
    }
    if (message.empty()) return 0;
    if (!refused.withoutContours.empty()) {
        if (ui::messageBox(message, {}, ui::MB_YESNO | ui::MB_ICONERROR, owner) == ui::IDYES && openWithoutContours)
            openWithoutContours();
    } else {
        ui::messageBox(message, {}, ui::MB_OK | ui::MB_ICONERROR, owner);
    }
    return 0;
}

bool CheckNumericText(ui::Dialog& dialog, int editId, std::string& field, const std::string& allowed) {
    const std::string typed = dialog.itemText(editId);
    if (HasCharsOutsideSet(typed, allowed) == 0) {
        field = typed;
        return true;
    }
    // The edit shows the kept text again; setting the text an edit holds raises no change of its own.
    dialog.setItemText(editId, field);
    ui::messageBox(FormatLocalized(kInvalidSymbol, typed.c_str()), " ", ui::MB_OK, &dialog);
    return false;
}

// [SECTION] The page

JobTablePage::JobTablePage(TablePageIds ids, TablePageTexts texts, std::vector<TableColumn> columns)
    : Dialog(ui::DialogTemplate{}), Ids(ids), Texts(texts), Columns(std::move(columns)) {
    bindControl(Ids.grid, Grid);
    bindControl(Ids.preview, preview_);
}

void JobTablePage::LimitTyping(int id, std::size_t most) {
    if (ui::Window* edit = item(id)) edit->send(ui::EM_LIMITTEXT, most);
}

bool JobTablePage::onInitDialog() {
    Dialog::onInitDialog();
    SetOwnTexts();
    LimitTyping(Ids.width, kMaxNumberChars);
    LimitTyping(Ids.height, kMaxNumberChars);
    LimitTyping(Ids.name, kMaxNameChars);
    return true;
}

void JobTablePage::doDataExchange(ui::DataExchange& dx) {
    dx.text(Ids.width, RectWidthText);
    dx.text(Ids.height, RectHeightText);
    dx.text(Ids.name, RectNameText);
    dx.text(Ids.fileName, FileNameText);
    ExchangeOwnFields(dx);
}

void JobTablePage::SetupTable() {
    FileNameText.clear();
    Grid.SetRowResize(false);
    Grid.SetColumnResize(false);
    Grid.SetColumnTotal(static_cast<int>(Columns.size()));
    Grid.SetRowTotal(1);
    Grid.SetFixedRowTotal(1);
    Grid.SetFixedColumnTotal(1);
    Grid.setScrollRange(ui::SB_VERT, 0, 100);
    for (std::size_t c = 0; c < Columns.size(); ++c) {
        const int column = static_cast<int>(c);
        Grid.SetColumnPixelWidth(column, Columns[c].width);
        Grid.SetCellText(0, column, Localized(Columns[c].heading));
        Grid.SetCellFormat(0, column, Columns[c].headingFormat);
    }
    // The heading row is as tall as a data row, so that the headings are not cut.
    Grid.SetRowPixelHeight(0, std::max(Grid.RowPixelHeight(0), 24));
    RefreshControls();
}

int JobTablePage::DataRowCount() const { return std::max(0, Grid.RowTotal() - 1); }

void JobTablePage::MakeComboCell(int row, int column, std::span<const std::string_view> choices,
                                 std::string_view text) {
    Grid.SetCellClass(row, column, CGridCellCombo::GetThisClass());
    if (auto* combo = dynamic_cast<CGridCellCombo*>(Grid.CellAt(row, column)))
        combo->SetChoiceList(std::vector<std::string>(choices.begin(), choices.end()));
    Grid.SetCellText(row, column, text);
}

void JobTablePage::MarkReadOnly(int row, int firstColumn, int lastColumn) {
    for (int c = firstColumn; c <= lastColumn; ++c)
        Grid.SetCellState(row, c, Grid.GetCellState(row, c) | CellStateReadOnly);
}

int JobTablePage::AddTableRow(int row, int type, const std::string& path, const std::string& title, double width,
                              double height) {
    if (type == kDrawingRowType) {
        const int size = ReadPartDrawingSize(path, width, height, false);
        if (size != kSizeRead) return size == kSizeNoContours ? kRowNoContours : kRowUnreadable;
    }
    for (int i = 1; i < Grid.RowTotal(); ++i) {
        const std::string key = host::sys::parseLeadingReal(Grid.GetCellText(i, kTypeColumn)).value == 0
                                    ? Grid.GetCellText(i, kTitleColumn)
                                    : DrawingKey(Grid.GetCellText(i, kPathColumn));
        if (SameIgnoringCase(title, key)) return kRowDuplicate;
    }
    (void)row;
    const int at = Grid.InsertGridRow(std::to_string(Grid.RowTotal()));
    if (at < 0) return kRowUnreadable;
    Grid.SetCellText(at, kTypeColumn, std::to_string(type));
    Grid.SetCellText(at, kPathColumn, path);
    Grid.SetCellText(at, kTitleColumn, title);
    Grid.SetCellText(at, kWidthColumn, host::sys::formatC("%4.2f", width));
    Grid.SetCellText(at, kHeightColumn, host::sys::formatC("%4.2f", height));
    Grid.SetCellText(at, kQuantityColumn, "1");
    Grid.SetCellText(at, kGrainColumn, "0");
    for (std::size_t c = 0; c < Columns.size(); ++c) Grid.SetCellFormat(at, static_cast<int>(c), Columns[c].cellFormat);
    MarkReadOnly(at, kTypeColumn, kHeightColumn);
    FillNewRowCells(at);
    Grid.RepaintRow(at);
    return kRowAdded;
}

void JobTablePage::FocusLastRow() {
    if (DataRowCount() == 0) return;
    const int last = Grid.RowTotal() - 1;
    Grid.MoveFocusToCell(last, kHeightColumn);
    Grid.SelectCellBlock(last, kHeightColumn, last, kHeightColumn, false, true);
}

int JobTablePage::ShowPreview() {
    if (!exists()) return 0;
    const CellRef focus = Grid.FocusCell();
    if (Grid.SelectedCellCount() == 0 || focus.row < 1 || focus.row >= Grid.RowTotal()) {
        FileNameText.clear();
        preview_.setBitmap(nullptr);
        preview_.enable(false);
        setItemText(Ids.fileName, FileNameText);
        return 0;
    }
    const std::string path = Grid.GetCellText(focus.row, kPathColumn);
    FileNameText = Grid.GetCellText(focus.row, kTypeColumn) == "2" ? path : Grid.GetCellText(focus.row, kTitleColumn);
    preview_.enable(true);
    if (!ui::displayPreviewFromDrawing(path, preview_)) preview_.enable(false);
    setItemText(Ids.fileName, FileNameText);
    return 1;
}

void JobTablePage::DeleteSelectedRows() {
    if (DataRowCount() == 0) return;
    int topRemoved = -1;
    int rightmost = kHeightColumn;
    for (int row = Grid.RowTotal() - 1; row >= 1; --row) {
        int marked = -1;
        for (int c = 1; c < Grid.ColumnTotal(); ++c)
            if (Grid.GetCellState(row, c) & (CellStateFocused | CellStateSelected)) marked = c;
        if (marked < 0 && Grid.FocusCell().row == row) marked = std::max(1, Grid.FocusCell().column);
        if (marked < 0) continue;
        Grid.RemoveGridRow(row);
        topRemoved = row;
        rightmost = marked;
    }
    for (int row = 1; row < Grid.RowTotal(); ++row) Grid.SetCellText(row, kNumberColumn, std::to_string(row));
    if (topRemoved > 0 && DataRowCount() > 0) {
        const int row = std::min(topRemoved, Grid.RowTotal() - 1);
        Grid.MoveFocusToCell(row, rightmost);
        Grid.SelectCellBlock(row, rightmost, row, rightmost, false, true);
    } else if (DataRowCount() == 0) {
        Grid.setScrollRange(ui::SB_VERT, 0, 100);
    }
    Grid.RepaintGrid();
    ShowPreview();
    invalidate();
}

void JobTablePage::DeleteAllRows() {
    while (Grid.RowTotal() > 1) Grid.RemoveGridRow(Grid.RowTotal() - 1);
    Grid.setScrollRange(ui::SB_VERT, 0, 100);
    Grid.RepaintGrid();
    Grid.ClearSelection();
    FileNameText.clear();
    preview_.setBitmap(nullptr);
    preview_.enable(false);
    if (exists()) {
        setItemText(Ids.fileName, FileNameText);
        invalidate();
    }
}

void JobTablePage::AddDrawingFiles() {
    if (FilesWithoutContours) FilesWithoutContours->clear();
    RefusedDrawings refused;
    ui::NavDialogOptions options;
    options.caption = Localized(Texts.navCaption);
    options.filters = {{Localized(kAllFilesFilter), "*.*"}, {Localized(kDrawingFilesFilter), "*.dxf"}};
    options.multiSelect = true;
    options.owner = this;
    const auto chosen = ui::chooseDrawings(options);
    int handled = 0;
    if (chosen) {
        ReadControls();
        for (const ui::NavItem& item : *chosen) {
            if (item.text.empty()) continue;
            ++handled;
            const std::string title = TitleOfFileName(item.textInFolder);
            const int answer = AddTableRow(Grid.RowTotal(), kDrawingRowType, item.text, title,
                                           NumberOf(RectWidthText), NumberOf(RectHeightText));
            if (answer == kRowUnreadable) refused.missing += "\n\r" + item.text;
            if (answer == kRowNoContours) {
                refused.withoutContours += "\n\r" + item.text;
                if (FilesWithoutContours) FilesWithoutContours->push_back(item.text);
            }
            if (answer == kRowDuplicate) refused.duplicates += "\n\r" + item.text;
        }
    }
    if (handled > 0) {
        Grid.RepaintGrid();
        FocusLastRow();
    }
    ReportJobFileProblems(refused, OpenFilesWithoutContours, this);
    if (FilesWithoutContours) FilesWithoutContours->clear();
    ShowPreview();
}

void JobTablePage::AddRectangle() {
    ReadControls();
    // Each side is its field's whole text: "2.." is no width of 2, nor "." one of 0; and no longer than a job
    // holds, or the job written would be refused at its next Load.
    for (auto [text, kept, id, label] : {std::tuple{&RectWidthText, &keptRectWidth_, Ids.width, &kWidthLabel},
                                         std::tuple{&RectHeightText, &keptRectHeight_, Ids.height, &kHeightLabel}}) {
        const std::optional<double> side = host::sys::fieldReal(*text);
        if (side && *side <= kJobLengthRange.Max) continue;
        const std::string why = side ? NumberNotInRangeMessage(*text, kJobLengthRange.Min, kJobLengthRange.Max, *kept)
                                     : NotANumberMessage(*text, *kept);
        const std::string message = std::string(Localized(*label)) + ": " + why;
        *text = *kept;
        RefreshControls();
        UpdateRectangleName();
        ui::messageBox(message, {}, ui::MB_OK | ui::MB_ICONERROR, this);
        return;
    }
    const double width = *host::sys::fieldReal(RectWidthText);
    const double height = *host::sys::fieldReal(RectHeightText);
    if (!(width > 0) || !(height > 0)) {
        ui::messageBox(Localized(Texts.badRectangle), {}, ui::MB_OK | ui::MB_ICONERROR, this);
        return;
    }
    std::filesystem::path block;
    GetRectangleBlockPath(block, InstallFolder, width, height);
    const int answer = AddTableRow(Grid.RowTotal(), kRectangleRowType, block.string(), RectNameText, width, height);
    if (answer == kRowAdded) {
        keptRectWidth_ = RectWidthText;
        keptRectHeight_ = RectHeightText;
        FocusLastRow();
        Grid.RepaintGrid();
    } else if (answer == kRowDuplicate) {
        ui::messageBox(std::string(Localized(kDuplicateRectangle)) + RectNameText, {}, ui::MB_OK | ui::MB_ICONERROR,
                       this);
    }
    ShowPreview();
}

void JobTablePage::UpdateRectangleName() {
    RectNameText = host::sys::formatC(Texts.rectangleNameFormat, RectWidthText.c_str(), RectHeightText.c_str());
    setItemText(Ids.name, RectNameText);
}

bool JobTablePage::onCommand(int id, int code, ui::Window* control) {
    if (code == ui::EN_CHANGE && (id == Ids.width || id == Ids.height)) {
        std::string& field = id == Ids.width ? RectWidthText : RectHeightText;
        if (CheckNumericText(*this, id, field, "01234567890.")) UpdateRectangleName();
        return true;
    }
    if (code == ui::BN_CLICKED) {
        if (id == Ids.addDrawings) return AddDrawingFiles(), true;
        if (id == Ids.deleteRows) return DeleteSelectedRows(), true;
        if (id == Ids.deleteAll) return DeleteAllRows(), true;
        if (id == Ids.addRectangle) return AddRectangle(), true;
    }
    if (OnOwnCommand(id, code)) return true;
    return Dialog::onCommand(id, code, control);
}

std::string JobTablePage::CellRefusal(int row, int column, const std::string& text) {
    if (column == kQuantityColumn) {
        if (host::sys::parseInteger(text, 0, QuantityLimit()).ok()) return {};
        return FormatLocalized(kBadQuantity, QuantityLimit(), text.c_str());
    }
    if (column == kGrainColumn) {
        if (host::sys::parseReal(text, kJobAngleRange.Min, kJobAngleRange.Max).ok()) return {};
        return FormatLocalized(kBadAngle, Grid.GetCellText(0, column).c_str(), kJobAngleRange.Min, kJobAngleRange.Max,
                               text.c_str());
    }
    const auto* combo = dynamic_cast<const CGridCellCombo*>(Grid.CellAt(row, column));
    if (combo == nullptr) return {};
    for (const std::string& choice : combo->ChoiceList()) {
        if (!SameIgnoringCase(choice, text)) continue;
        if (choice != text) Grid.SetCellText(row, column, choice);
        return {};
    }
    std::string choices;
    for (const std::string& choice : combo->ChoiceList()) choices += (choices.empty() ? "" : ", ") + choice;
    return FormatLocalized(kNotAChoice, text.c_str(), Grid.GetCellText(0, column).c_str(), choices.c_str());
}

bool JobTablePage::onNotify(const ui::NotifyHeader& header, std::intptr_t& result) {
    if (header.id == Ids.grid && header.code == GridEndEditCode) {
        const auto& record = *reinterpret_cast<const GridNotifyRecord*>(&header);
        const std::string refusal = CellRefusal(record.row, record.column, Grid.GetCellText(record.row, record.column));
        if (!refusal.empty()) ui::messageBox(refusal, {}, ui::MB_OK | ui::MB_ICONERROR, this);
        result = refusal.empty() ? 0 : -1;
        return true;
    }
    if (header.id == Ids.grid && header.code == GridClickCode) {
        OnTableClick(*reinterpret_cast<const GridNotifyRecord*>(&header));
        result = 0;
        return true;
    }
    return Dialog::onNotify(header, result);
}

void JobTablePage::OnTableClick(const GridNotifyRecord&) { ShowPreview(); }
