// The statistics window: its template, the texts of its fields and the command that shows it.
#include "laser/path/geometry_info_dialog.h"

#include <cmath>

#include "cadlib/numbers.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/geometry_info_messages.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::sys::formatC;
using host::ui::DialogTemplate;
using namespace geom_info;

// One row of the window: the label's id and text, the value field's id.
struct InfoRow {
    int label;
    const TwoLanguageText* text;
    int value;
};

constexpr InfoRow kGeneralRows[] = {
    {378, &kGeomInfoUnit, kUnit},   {379, &kGeomInfoMaterialName, kMaterial}, {380, &kGeomInfoThin, kThin},
    {381, &kGeomInfoDensity, kDensity}, {382, &kGeomInfoArea, kArea},      {383, &kGeomInfoMass, kMass},
};
constexpr InfoRow kCuttingRows[] = {
    {385, &kGeomInfoPostprocessor, kPostprocessor},
    {386, &kGeomInfoFeedCut, kFeedCut},
    {525, &kGeomInfoFeedCutT2, kFeedCutT2},
    {387, &kGeomInfoFeedEngrave, kFeedEngrave},
    {514, &kGeomInfoFeedEngraveMark, kFeedEngraveMark},
    {515, &kGeomInfoFeedMark, kFeedMark},
    {388, &kGeomInfoFeedHeat, kFeedHeat},
    {389, &kGeomInfoLengthCut, kLengthCut},
    {522, &kGeomInfoLengthCutT2, kLengthCutT2},
    {390, &kGeomInfoLengthEngrave, kLengthEngrave},
    {510, &kGeomInfoLengthEngraveMark, kLengthEngraveMark},
    {511, &kGeomInfoLengthMark, kLengthMark},
    {391, &kGeomInfoLengthHeat, kLengthHeat},
    {392, &kGeomInfoLengthRapid, kLengthRapid},
    {393, &kGeomInfoStartMode, kStartMode},
    {394, &kGeomInfoLeadIn, kLeadIn},
    {395, &kGeomInfoLeadOut, kLeadOut},
    {396, &kGeomInfoTime, kTime},
};
constexpr InfoRow kMaterialRows[] = {
    {398, &kGeomInfoUsed, kUsed},
    {399, &kGeomInfoBurnt, kBurnt},
    {400, &kGeomInfoScrap, kScrap},
    {401, &kGeomInfoRecovery, kRecovery},
};
constexpr InfoRow kContourRows[] = {
    {403, &kGeomInfoAllContours, kAllContours}, {404, &kGeomInfoOutside, kOutside},
    {405, &kGeomInfoNoLeadOut, kNoLeadOut},     {518, &kGeomInfoCutOutTool2, kCutOutTool2},
    {406, &kGeomInfoJumperOut, kJumperOut},     {407, &kGeomInfoInside, kInside},
    {408, &kGeomInfoNoLeadIn, kNoLeadIn},       {520, &kGeomInfoCutInTool2, kCutInTool2},
    {409, &kGeomInfoJumperIn, kJumperIn},       {410, &kGeomInfoCommon, kCommon},
    {411, &kGeomInfoInsideCut, kInsideCut},     {412, &kGeomInfoEngrave, kEngrave},
    {506, &kGeomInfoEngraveMark, kEngraveMark}, {507, &kGeomInfoMark, kMark},
    {413, &kGeomInfoHeat, kHeat},               {414, &kGeomInfoUnclosed, kUnclosed},
    {415, &kGeomInfoNoClose, kNoClose},         {416, &kGeomInfoPointMark, kPointMark},
    {417, &kGeomInfoPointJumper, kPointJumper}, {418, &kGeomInfoStockOut, kStockOut},
    {419, &kGeomInfoStockIn, kStockIn},
};

// The groups: the title's id and text, where the box stands (dialog units), the label and value columns.
struct InfoGroup {
    int id;
    const TwoLanguageText* title;
    int x, y, width;
    int labelWidth, valueWidth;
    const InfoRow* rows;
    std::size_t count;
};

constexpr int kRowStep = 12;
constexpr int kGroupTop = 14;     // from the box's top to the first row
constexpr int kGroupBottom = 6;   // below the last row
constexpr int kInset = 8;

const InfoGroup kGroups[] = {
    {377, &kGeomInfoGeneral, 7, 7, 222, 120, 86, kGeneralRows, std::size(kGeneralRows)},
    {384, &kGeomInfoCutting, 7, 101, 222, 120, 86, kCuttingRows, std::size(kCuttingRows)},
    {402, &kGeomInfoContours, 236, 7, 217, 128, 71, kContourRows, std::size(kContourRows)},
    {397, &kGeomInfoMaterial, 80, 343, 300, 130, 150, kMaterialRows, std::size(kMaterialRows)},
};

constexpr int kDialogWidth = 460, kDialogHeight = 459;

DialogTemplate GeomInfoTemplate() {
    DialogTemplate t(kGeomInfoCaption.english, kDialogWidth, kDialogHeight);
    t.style |= host::ui::DS_CENTER;
    for (const InfoGroup& g : kGroups) {
        const int height = kGroupTop + static_cast<int>(g.count) * kRowStep + kGroupBottom;
        t.groupBox(g.title->english, {g.x, g.y, g.width, height}, g.id);
        for (std::size_t i = 0; i < g.count; ++i) {
            const InfoRow& row = g.rows[i];
            const int y = g.y + kGroupTop + static_cast<int>(i) * kRowStep;
            t.label(row.text->english, {g.x + kInset, y, g.labelWidth, 9}, row.label);
            // A value is read-only text the user can select and copy; its label names it.
            t.control(host::ui::kEditClass, row.value, "", {g.x + kInset + g.labelWidth + 2, y, g.valueWidth, 9},
                      host::ui::ES_LEFT | host::ui::ES_AUTOHSCROLL | host::ui::ES_READONLY);
        }
    }
    t.defaultButton(host::ui::IDOK, "OK", {(kDialogWidth - 60) / 2, kDialogHeight - 22, 60, 14});
    return t;
}

std::string Count(std::uint32_t n) { return formatC("%i", static_cast<int>(n)); }
std::string Fixed2(double v) { return formatC("%.2f", v); }

}  // namespace

std::map<int, std::string> GeometryInfoTexts(const CuttingJob& job, const CLaserSettings& settings) {
    std::map<int, std::string> v;
    v[kUnit] = job.unit == 0 ? "MM" : "INCH";
    v[kMaterial] = job.material;
    v[kThin] = Fixed2(job.thickness);
    v[kDensity] = formatC("%.3e", job.density);
    v[kArea] = Fixed2(job.partArea);
    // The density of a material file is per cubic millimetre, while the thickness, areas and lengths are the job's:
    // an inch job's are brought to millimetres (a 4 x 3 inch plate of 3 mm steel weighs 0.18 kg, not 0.0003).
    const double mmPerJobUnit = ConvertUnits(job.unit, kUnitMillimetres, 1.0);
    const double squareMmPerJobUnit = mmPerJobUnit * mmPerJobUnit;
    const double massPerArea = ConvertUnits(job.unit, kUnitMillimetres, job.thickness) * job.density;
    const double mass = job.partArea * squareMmPerJobUnit * massPerArea;
    v[kMass] = formatC("%.4f", mass);

    // As the status line counts them: jumper points and stock contours are no contours of the part.
    const std::uint32_t total = job.baseInner + job.baseOuter + job.tool2Inner + job.tool2Outer + job.unclosedCount +
                                job.noCloseCount + job.engraveCount + job.engraveMarkCount + job.markCount +
                                job.heatCount + job.commonCount + job.insideCutCount + job.noLeadInInner +
                                job.noLeadInOuter + job.jumperLineOuter + job.jumperLineInner + job.markPointCount;
    v[kAllContours] = Count(total);
    v[kOutside] = Count(job.baseOuter);
    v[kNoLeadOut] = Count(job.noLeadInOuter);
    v[kCutOutTool2] = Count(job.tool2Outer);
    v[kJumperOut] = Count(job.jumperLineOuter);
    v[kInside] = Count(job.baseInner);
    v[kNoLeadIn] = Count(job.noLeadInInner);
    v[kCutInTool2] = Count(job.tool2Inner);
    v[kJumperIn] = Count(job.jumperLineInner);
    v[kCommon] = Count(job.commonCount);
    v[kInsideCut] = Count(job.insideCutCount);
    v[kEngrave] = Count(job.engraveCount);
    v[kEngraveMark] = Count(job.engraveMarkCount);
    v[kMark] = Count(job.markCount);
    v[kHeat] = Count(job.heatCount);
    v[kUnclosed] = Count(job.unclosedCount);
    v[kNoClose] = Count(job.noCloseCount);
    v[kPointMark] = Count(job.markPointCount);
    v[kPointJumper] = Count(job.jumperPointCount);
    v[kStockOut] = Count(job.stockOuter);
    v[kStockIn] = Count(job.stockInner);

    v[kPostprocessor] = job.postprocessor;
    v[kFeedCut] = Fixed2(settings.FeedCut);
    v[kFeedCutT2] = Fixed2(settings.FeedCutT2);
    v[kFeedEngrave] = Fixed2(settings.EngraveCut);
    v[kFeedEngraveMark] = Fixed2(settings.EngraveAndMarkCut);
    v[kFeedMark] = Fixed2(settings.MarkCut);
    v[kFeedHeat] = Fixed2(job.feedHeatTreatment);
    v[kLengthCut] = Fixed2(job.totalCutLength);
    v[kLengthCutT2] = Fixed2(job.totalCutT2Length);
    v[kLengthEngrave] = Fixed2(job.totalEngraveLength);
    v[kLengthEngraveMark] = Fixed2(job.totalEngraveMarkLength);
    v[kLengthMark] = Fixed2(job.totalMarkLength);
    v[kLengthHeat] = Fixed2(job.totalHeatLength);
    v[kLengthRapid] = Fixed2(job.totalRapidLength);
    v[kStartMode] = Localized(settings.ModeStartPoint != 0 ? kGeomInfoAtHome : kGeomInfoAtStart);
    v[kLeadIn] = Fixed2(job.leadInSpan);
    v[kLeadOut] = Fixed2(job.leadOutSpan);
    // A time that is negative or no number (a damaged drawing) shows as 0.
    const double seconds = job.totalSeconds >= 0.0 && job.totalSeconds < 1e12 ? job.totalSeconds : 0.0;
    const int minutes = static_cast<int>(seconds / 60.0);
    v[kTime] = FormatLocalized(kGeomInfoTimeFormat, minutes, seconds - minutes * 60.0);

    v[kUsed] = v[kMass];
    const double burnt = job.totalCutLength > 0.0
                             ? (job.toolDiameter + job.totalCutLength) * job.toolDiameter * squareMmPerJobUnit *
                                   massPerArea
                             : 0.0;
    v[kBurnt] = formatC("%.4f", burnt);
    const std::size_t stock = static_cast<std::size_t>(std::max(job.contourCount, 0));
    const bool hasStock = stock < job.contours.size() && job.contours[stock].area > 0.0 && job.stockArea > 0.0;
    if (hasStock) {
        v[kScrap] = formatC("%.4f", job.stockArea * squareMmPerJobUnit * massPerArea - mass - burnt);
        v[kRecovery] = formatC("%.2f%% ", job.partArea / job.stockArea * 100.0);
    } else {
        v[kScrap] = v[kRecovery] = Localized(kGeomInfoNoStock);
    }
    return v;
}

CGeomInfo::CGeomInfo(host::ui::Window* parent) : Dialog(GeomInfoTemplate(), parent) {
    for (const InfoGroup& g : kGroups) {
        for (std::size_t i = 0; i < g.count; ++i) values[g.rows[i].value];
    }
}

bool CGeomInfo::onInitDialog() {
    setText(Localized(kGeomInfoCaption));
    for (const InfoGroup& g : kGroups) {
        setItemText(g.id, Localized(*g.title));
        for (std::size_t i = 0; i < g.count; ++i) setItemText(g.rows[i].label, Localized(*g.rows[i].text));
    }
    return Dialog::onInitDialog();
}

void CGeomInfo::doDataExchange(host::ui::DataExchange& dx) {
    for (auto& [id, text] : values) dx.text(id, text);
}

void ShowGeometryInfo() {
    CLaserSettings& settings = LaserSettings();
    CGeomInfo dialog;
    RegenPathTotals();
    UpdateStatusLine();
    const CuttingJob* job = CurrentJob(settings);
    if (job == nullptr) return;
    dialog.values = GeometryInfoTexts(*job, settings);
    dialog.doModal();
    if (DrawingSlot* slot = CurrentSlot(settings)) slot->changeCounter += 1;
    WriteJobData(settings);
}
