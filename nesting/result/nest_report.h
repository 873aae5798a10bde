// The report of a nesting result: how many sheets and parts, the parts that were not nested, and per sheet its
// stock, its parts and its metal recovery; shown in the summary dialog.
//
// A part counts as placed in the report only when its type's block is defined in the drawing: a part that could
// not be drawn is listed with the parts that were not nested, never counted as lying on a sheet.
#pragma once

#include <string>

#include "host/ui/dialog.h"
#include "nesting/frame/nesting_state.h"

// Dialog template and controls of the summary dialog.
inline constexpr int kInfoNestingTemplateId = 203;
inline constexpr int kInfoNestingTextEdit = 201;

// The summary dialog: the report in a read-only multi-line edit that wraps its lines and scrolls down, and OK.
class CInfoNesting : public host::ui::Dialog {
public:
    explicit CInfoNesting(host::ui::Window* parent = nullptr);

    std::string ReportText;

protected:
    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
};

// Appends the report of stock instance `stock`: its head (n < 0: "Current Stock" with the shown sheet's number;
// otherwise "Stock n"), then one line per part type with copies on it.
void AppendStockReport(const CNestingState& state, int n, int stock, std::string& text);

// Appends one line per part type (clamps not) with fewer placed copies than its quantity, or excluded (quantity
// 0): block name, placed and quantity, width and height of its drawing.
void AppendNotNestedLines(const CNestingState& state, std::string& text);

// The whole report of the result as the summary dialog shows it.
std::string BuildNestReport(const CNestingState& state);

// Builds the report and shows it in the summary dialog (modal).
void ShowNestInfo(const CNestingState& state);
