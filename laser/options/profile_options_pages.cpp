// The Profile page (bridges, jumpers, mark points, trim lines) and the Options page (clean-up and checks of contour
// creation, the lead-in correction for small circles).
#include <algorithm>
#include <climits>
#include <cmath>

#include "host/sys/number_text.h"
#include "host/ui/combo_box.h"
#include "host/ui/constants.h"
#include "laser/options/option_pages.h"
#include "laser/options/option_texts.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/settings_values.h"
#include "laser/settings/number_field_check.h"
#include "laser/settings/settings_text.h"

using host::ui::DialogTemplate;

namespace {

// [SECTION] Profile page

DialogTemplate ProfileTemplate() {
    DialogTemplate t("Profile", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kBridge, 7, 7, 376, 427).labelEdit(kBridgeWidth, 422, 249, 200).close();
    l.group(kJamper, 7, l.y(), 376, 479)
        .check(319, kUseJamper)
        .labelEdit(kOutputLengthA, 423, 254, 200)
        .labelEdit(kInputLengthB, 424, 228, 200)
        .labelEdit(kTransitionWidth, 425, 426, 200)
        .close();
    l.group(kMarkPoint, 7, l.y(), 376, 480)
        .check(477, kUseMarkPoint)
        .labelEdit(kCutLengthA, 478, 436, 200)
        .labelEdit(kPointSize, 481, 474, 200)
        .close();
    l.group(kTrimLines, 7, l.y(), 376, 550)
        .check(551, kUseTrimLines)
        .labelEdit(kDistBefore, 552, 489, 200)
        .labelEdit(kDistAfter, 553, 548, 200)
        .close();
    return t;
}

}  // namespace

CPageProfile::CPageProfile() : COptionPage(ProfileTemplate()) {
    const std::string_view digits = kDecimalCharacters;
    addEdit(249, RealSetting(&CLaserSettings::BridgeWidth, "%.3f"), digits);
    addEdit(254, RealSetting(&CLaserSettings::JamperLenOut, "%.3f"), digits);
    addEdit(228, RealSetting(&CLaserSettings::JamperLenIn, "%.3f"), digits);
    addEdit(426, RealSetting(&CLaserSettings::JamperWidth, "%.3f"), digits);
    addCheck(319, IntSetting(&CLaserSettings::UseJamper), 1);
    addCheck(477, IntSetting(&CLaserSettings::UseMarkPoint), 1);
    addEdit(436, RealSetting(&CLaserSettings::MarkingLineLength, "%.3f"), digits);
    addEdit(474, TextSetting(&CLaserSettings::PDSIZE), digits);
    addCheck(551, IntSetting(&CLaserSettings::TrimLineUse));
    addEdit(489, RealSetting(&CLaserSettings::DistZAxisTrackingSensorON, "%.3f"), digits);
    addEdit(548, RealSetting(&CLaserSettings::DistZAxisTrackingSensorOFF, "%.3f"), digits);
}

// [SECTION] Options page

namespace {

constexpr int kShortSegmentsCheck = 319;
constexpr int kMinSegmentEdit = 249;
constexpr int kMinChordEdit = 254;

constexpr const char* kConnectDistances[] = {"0.1",      "0.01",      "0.001",      "0.0001",     "0.00001",
                                             "0.000001", "0.0000001", "0.00000001", "0.000000001"};

// The list's text for a connect distance: its item when the distance is one of them, else the distance itself,
// which the list then shows as an extra item (so that no stored distance is lost by opening the sheet).
std::string ConnectDistanceText(double distance) {
    for (const char* item : kConnectDistances) {
        const double value = SettingTextToReal(item);
        if (std::fabs(distance - value) <= value * 1e-9) return item;
    }
    return host::sys::formatC("%.12g", distance);
}

DialogTemplate OptionsTemplate() {
    DialogTemplate t("Options", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kGeometryGroup, 7, 7, 376, 343).check(250, kAutoDelCopy);
    t.checkBox(251, Localized(kAutoConnect), {l.x(), l.y(), 250, 10});
    t.comboBox(option_ids::kConnectDistanceList, {l.x() + 256, l.y() - 2, 80, 120});
    l.skip(16).check(253, kWarn3Point).check(252, kWarnUnclose).check(255, kCheckIntersect);
    t.checkBox(kShortSegmentsCheck, Localized(kShortSegments), {l.x(), l.y(), 270, 18}, host::ui::BS_MULTILINE);
    t.edit(kMinSegmentEdit, {l.x() + 276, l.y() + 2, 60, 13}, host::ui::ES_AUTOHSCROLL);
    l.skip(22).labelEdit(kMinChord, 344, kMinChordEdit, l.x() + 276).close();
    l.group(kCuttingGroup, 7, l.y(), 376, 345).check(258, kAutoCorrectLeadin).close();
    return t;
}

}  // namespace

CPageOptions::CPageOptions() : COptionPage(OptionsTemplate()) {
    const std::string_view digits = kDecimalCharacters;
    addCheck(250, IntSetting(&CLaserSettings::AutoDelCopy));
    addCheck(251, IntSetting(&CLaserSettings::AutoConnect));
    addCheck(253, IntSetting(&CLaserSettings::Warn3Point));
    addCheck(252, IntSetting(&CLaserSettings::WarnUnclose));
    addCheck(255, IntSetting(&CLaserSettings::CheckIntersect));
    addCheck(258, IntSetting(&CLaserSettings::AutoCorrectLeadin));
    addCombo(option_ids::kConnectDistanceList);
    addCheck(kShortSegmentsCheck, ByteSetting(&CLaserSettings::AutoDelSementStatus));
    addEdit(kMinSegmentEdit, RealSetting(&CLaserSettings::AutoDelSementMinSize, "%.4f"), digits);
    // The chord is stored by StoreExtra: only while the correction is on.
    PageField& chord = addEdit(kMinChordEdit, {}, digits);
    chord.length = true;
    // The range the registry is read with, as for the fields tied to their setting.
    chord.low = 0.0;
    chord.high = kMaxSettingNumber;
}

void CPageOptions::LoadExtra(const CLaserSettings& s) {
    field(option_ids::kConnectDistanceList)->text = ConnectDistanceText(s.AutoConnectDist);
    field(kMinChordEdit)->text = host::sys::formatC("%.4f", s.AutoDelSementMinChord);
}

void CPageOptions::StoreExtra(CLaserSettings& s) {
    const PageField& distance = *field(option_ids::kConnectDistanceList);
    if (distance.changed()) {
        const double value = SettingTextToReal(distance.text);
        // A distance of 0 would make the point-equality factor 1 / 0; such a choice keeps the distance stored.
        if (value > 0.0) {
            s.AutoConnectDist = value;
            const double factor = std::floor(1.0 / value + 0.5);
            s.AutoConnectGrid =
                factor >= static_cast<double>(INT_MAX) ? INT_MAX : std::max(1, static_cast<int>(factor));
        }
    }
    const PageField& chord = *field(kMinChordEdit);
    if (chord.changed() && field(kShortSegmentsCheck)->value != 0) {
        s.AutoDelSementMinChord = host::sys::fieldReal(chord.text).value_or(s.AutoDelSementMinChord);
    }
}

bool CPageOptions::onInitDialog() {
    if (auto* list = dynamic_cast<host::ui::ComboBox*>(item(option_ids::kConnectDistanceList))) {
        for (const char* text : kConnectDistances) list->addString(text);
        const std::string& loaded = field(option_ids::kConnectDistanceList)->text;
        bool listed = false;
        for (int i = 0; i < list->count(); ++i) listed = listed || list->itemText(i) == loaded;
        if (!loaded.empty() && !listed) list->addString(loaded);
    }
    return COptionPage::onInitDialog();
}
