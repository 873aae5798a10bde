// The report of a nesting result and the summary dialog that shows it.
#include "nesting/result/nest_report.h"

#include <algorithm>
#include <vector>

#include "cadlib/messages.h"
#include "cadlib/rectangle_blocks.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "nesting/result/result_messages.h"
#include "nesting/result/sheet_drawing.h"

namespace {

// What the report knows of each part type: its index in PartTypes for every instance, and whether its block is
// defined in the drawing (a part of a type without one could not be drawn and is never counted as placed).
class PartTypeIndex {
public:
    explicit PartTypeIndex(const CNestingState& state) : state_(state) {
        const int types = TypeCount();
        drawable_.resize(static_cast<std::size_t>(types));
        for (int t = 0; t < types; ++t) {
            drawable_[static_cast<std::size_t>(t)] =
                BlockExists(state.PartTypes[static_cast<std::size_t>(t)].BlockName) == 1;
        }
    }

    int TypeCount() const { return std::min(state_.PartTypeCount, static_cast<int>(state_.PartTypes.size())); }
    const PartType& Type(int t) const { return state_.PartTypes[static_cast<std::size_t>(t)]; }
    bool IsClamp(int t) const { return Type(t).Kind == kKindClamp; }

    // The index of the instance's type, -1 when it points nowhere into PartTypes.
    int TypeOf(const PartInstance& part) const {
        if (!part.Type || state_.PartTypes.empty()) return -1;
        const PartType* first = state_.PartTypes.data();
        if (part.Type < first || part.Type >= first + TypeCount()) return -1;
        return static_cast<int>(part.Type - first);
    }

    // The instances of the job (at most the stored ones).
    int InstanceCount() const {
        return std::min(state_.PartInstanceCount, static_cast<int>(state_.PartInstances.size()));
    }
    const PartInstance& Instance(int i) const { return state_.PartInstances[static_cast<std::size_t>(i)]; }

    // A part (no clamp) with a valid committed pose whose type can be drawn; its type index, else -1.
    int PlacedPartType(const PartInstance& part) const {
        const int t = TypeOf(part);
        if (t < 0 || IsClamp(t) || !drawable_[static_cast<std::size_t>(t)]) return -1;
        if (!part.CommittedPose || part.CommittedPose->Valid != 1) return -1;
        return t;
    }
    // A part (no clamp) whose placed flag is set and whose type can be drawn; its type index, else -1.
    int FlaggedPartType(const PartInstance& part) const {
        const int t = TypeOf(part);
        if (t < 0 || IsClamp(t) || !drawable_[static_cast<std::size_t>(t)] || part.Placed != 1) return -1;
        return t;
    }

private:
    const CNestingState& state_;
    std::vector<bool> drawable_;
};

double RecoveryPercent(double partArea, const PartType* stockType) {
    // a drawing stock whose stored area is 0 has no recovery to show
    return stockType && stockType->Area > 0.0 ? 100.0 * partArea / stockType->Area : 0.0;
}

// 288 x 326 dialog units: the report over the whole dialog, OK centred at the foot.
host::ui::DialogTemplate InfoNestingTemplate() {
    host::ui::DialogTemplate t(kInfoNestingCaption.english, 288, 326);
    t.style |= host::ui::DS_CENTER;
    t.edit(kInfoNestingTextEdit, {7, 7, 274, 290},
           host::ui::ES_MULTILINE | host::ui::ES_AUTOVSCROLL | host::ui::ES_READONLY | host::ui::WS_VSCROLL)
        .defaultButton(host::ui::IDOK, kInfoNestingOk.english, {119, 305, 50, 14});
    return t;
}

}  // namespace

CInfoNesting::CInfoNesting(host::ui::Window* parent) : Dialog(InfoNestingTemplate(), parent) {}

bool CInfoNesting::onInitDialog() {
    updateData(false);
    setText(Localized(kInfoNestingCaption));
    setItemText(host::ui::IDOK, Localized(kInfoNestingOk));
    return true;
}

void CInfoNesting::doDataExchange(host::ui::DataExchange& dx) { dx.text(kInfoNestingTextEdit, ReportText); }

void AppendStockReport(const CNestingState& state, int n, int stock, std::string& text) {
    const PartTypeIndex types(state);
    std::vector<int> onStock(static_cast<std::size_t>(types.TypeCount()), 0);
    int count = 0;
    double area = 0.0;
    for (int i = 0; i < types.InstanceCount(); ++i) {
        const PartInstance& part = types.Instance(i);
        if (part.Stock != stock) continue;
        const int t = types.PlacedPartType(part);
        if (t < 0) continue;
        ++count;
        area += types.Type(t).Area;
        ++onStock[static_cast<std::size_t>(t)];
    }
    const PartType* stockType = stock >= 0 && stock < static_cast<int>(state.StockInstances.size())
                                    ? state.StockInstances[static_cast<std::size_t>(stock)].Type
                                    : nullptr;
    const std::string stockName = stockType ? stockType->BlockName : std::string();
    const double recovery = RecoveryPercent(area, stockType);
    if (n < 0) {
        text += FormatLocalized(kReportCurrentStock, state.ShownSheet + 1, stockName.c_str(), count,
                                PartCountWithoutClamps(state), recovery);
    } else {
        text += FormatLocalized(kReportStock, n, stockName.c_str(), count, PartCountWithoutClamps(state), recovery);
    }
    int number = 0;
    for (int t = 0; t < types.TypeCount(); ++t) {
        const int copies = onStock[static_cast<std::size_t>(t)];
        if (copies == 0) continue;
        text += host::sys::formatC(kReportStockPartLine, ++number, types.Type(t).BlockName.c_str(), copies,
                                   types.Type(t).Quantity);
    }
}

void AppendNotNestedLines(const CNestingState& state, std::string& text) {
    const PartTypeIndex types(state);
    std::vector<int> placed(static_cast<std::size_t>(types.TypeCount()), 0);
    for (int i = 0; i < types.InstanceCount(); ++i) {
        const int t = types.FlaggedPartType(types.Instance(i));
        if (t >= 0) ++placed[static_cast<std::size_t>(t)];
    }
    for (int t = 0; t < types.TypeCount(); ++t) {
        if (types.IsClamp(t)) continue;
        const PartType& type = types.Type(t);
        const int copies = placed[static_cast<std::size_t>(t)];
        if (copies < type.Quantity || type.Quantity == 0) {
            text += FormatLocalized(kReportNotNestedLine, type.BlockName.c_str(), copies, type.Quantity,
                                    type.DrawingBox.Width(), type.DrawingBox.Height());
        }
    }
}

std::string BuildNestReport(const CNestingState& state) {
    const std::optional<int> shown = StockOfSheet(state, state.ShownSheet);
    if (state.UsedStockCount == 0 || !shown) return Localized(kReportNoPlacedDetails);

    const PartTypeIndex types(state);
    int placed = 0;
    for (int i = 0; i < types.InstanceCount(); ++i) placed += types.PlacedPartType(types.Instance(i)) >= 0 ? 1 : 0;
    bool excluded = false;
    for (int t = 0; t < types.TypeCount(); ++t) {
        excluded = excluded || (!types.IsClamp(t) && types.Type(t).Quantity == 0);
    }
    const int total = PartCountWithoutClamps(state);

    std::string text = FormatLocalized(kReportHead, state.UsedStockCount, placed, total);
    if (placed < total || excluded) {
        text += Localized(kReportNotNestedHead);
        AppendNotNestedLines(state, text);
        text += kReportNotNestedFoot;
    }
    AppendStockReport(state, -1, *shown, text);
    if (state.UsedStockCount > 1) {
        const int stocks = std::min(state.StockInstanceCount, static_cast<int>(state.StockInstances.size()));
        int n = 0;
        for (int s = 0; s < stocks; ++s) {
            if (state.StockInstances[static_cast<std::size_t>(s)].Placed != 1) continue;
            text += kReportStockSeparator;
            AppendStockReport(state, ++n, s, text);
        }
    }
    return text;
}

void ShowNestInfo(const CNestingState& state) {
    CInfoNesting dialog;
    dialog.ReportText = BuildNestReport(state);
    dialog.doModal();
}
