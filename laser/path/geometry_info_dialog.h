// The statistics window of NCInfo: everything known about the current drawing's cutting job (units and material,
// the contours by class, feeds, path lengths, machining time and the use of material), as texts prepared before it
// shows.
#pragma once

#include <map>
#include <string>

#include "host/ui/dialog.h"

struct CuttingJob;
class CLaserSettings;

// Template id of the window and the ids of its value fields.
inline constexpr int kGeomInfoTemplateId = 201;
namespace geom_info {
inline constexpr int kUnit = 200, kMaterial = 201, kThin = 202, kDensity = 203, kArea = 204, kMass = 205;
inline constexpr int kAllContours = 209, kOutside = 208, kNoLeadOut = 329, kCutOutTool2 = 519, kJumperOut = 330,
                     kInside = 207, kNoLeadIn = 328, kCutInTool2 = 521, kJumperIn = 331, kCommon = 327,
                     kInsideCut = 348, kEngrave = 336, kEngraveMark = 508, kMark = 509, kHeat = 326,
                     kUnclosed = 206, kNoClose = 324, kPointMark = 333, kPointJumper = 332, kStockOut = 335,
                     kStockIn = 334;
inline constexpr int kPostprocessor = 213, kFeedCut = 214, kFeedCutT2 = 524, kFeedEngrave = 321,
                     kFeedEngraveMark = 516, kFeedMark = 517, kFeedHeat = 318, kLengthCut = 215,
                     kLengthCutT2 = 523, kLengthEngrave = 316, kLengthEngraveMark = 512, kLengthMark = 513,
                     kLengthHeat = 319, kLengthRapid = 216, kStartMode = 210, kLeadIn = 211, kLeadOut = 212,
                     kTime = 217;
inline constexpr int kUsed = 218, kBurnt = 219, kScrap = 221, kRecovery = 220;
}  // namespace geom_info

// The 49 value texts by field id, as the window shows them for `job` and the settings' feeds and start mode.
std::map<int, std::string> GeometryInfoTexts(const CuttingJob& job, const CLaserSettings& settings);

class CGeomInfo : public host::ui::Dialog {
public:
    explicit CGeomInfo(host::ui::Window* parent = nullptr);

    // The value texts by field id; all empty after construction.
    std::map<int, std::string> values;

protected:
    // The labels and group titles in the module's language.
    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
};

// NCInfo: the path totals and the status line brought up to date, the window filled and shown, the change
// counted and the job stored.
void ShowGeometryInfo();
