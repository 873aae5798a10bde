// The Cutting page (lead-in, start points, direction of cutting, order over the sheet, home point, stock origin)
// and the Cut corner page (loops or a change of power at sharp corners, piercing).
#include "host/ui/constants.h"
#include "laser/options/option_pages.h"
#include "laser/options/option_texts.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"

using host::ui::DialogTemplate;

namespace {

// [SECTION] Cutting page

// X=, Y= and Z= edits side by side on one row of a group.
void XyzRow(DialogTemplate& t, PageLayout& l, int x, const int (&ids)[3]) {
    const char* names[] = {"X=", "Y=", "Z="};
    for (int i = 0; i < 3; ++i) {
        t.label(names[i], {x + i * 70, l.y() + 2, 12, 8});
        t.edit(ids[i], {x + i * 70 + 13, l.y(), 52, 13}, host::ui::ES_AUTOHSCROLL);
    }
    l.skip(16);
}

// The left column holds the lead-in and the order of cutting, the right one the start points and the home point;
// the right one is the wider, for the long captions of the start-point groups.
DialogTemplate CuttingTemplate() {
    DialogTemplate t("Cutting", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kCuttingProfile, 7, 7, 146, 330)
        .labelEdit(kAngleA, 331, 229, 92, 48)
        .labelEdit(kLeadInSpanB, 332, 227, 92, 48)
        .labelEdit(kLeadOutSpanC, 333, 228, 92, 48)
        .check(465, kUseJumper)
        .check(252, kInnerFirst);
    t.checkBox(483, Localized(kEngraveFirst), {l.x(), l.y(), l.width(), 18}, host::ui::BS_MULTILINE);
    l.skip(20).close();
    // "Use jumper" is shown, never changed here.
    for (auto& row : t.items) {
        if (row.id == 465) row.style |= host::ui::WS_DISABLED;
    }
    l.group(kDirectionOfCutting, 7, l.y(), 146, 463)
        .radios({{455, &kAnyDirection}, {456, &kClockwise}, {457, &kCounterClockwise}})
        .close();
    l.group(kDirectionOfCutting, 7, l.y(), 146, 471)
        .radios({{473, &kNotToUse}, {466, &kLeftToRight}, {467, &kTopToDown}, {468, &kRightToLeft}});
    t.label(Localized(kMaxOffset), {l.x(), l.y() + 2, l.width(), 8}, 472);
    l.skip(11);
    t.edit(469, {l.x(), l.y(), 60, 13}, host::ui::ES_AUTOHSCROLL);
    l.skip(16).close();
    // Right column.
    l.group(kStartMode1, 157, 7, 226, 334)
        .radios({{316, &kOptimizeMoving}, {317, &kEntryAngle1}, {318, &kEntryAngle2}})
        .close();
    l.group(kStartMode2, 157, l.y(), 226, 464)
        .radios({{458, &kUseMode1}, {459, &kLeftBottom}, {460, &kLeftTop}, {461, &kRightTop}, {462, &kRightBottom}})
        .close();
    l.group(kHomePointGroup, 157, l.y(), 226, 349).check(243, kCutFromHome).check(319, kReturnHome);
    t.label(Localized(kPointHome), {l.x(), l.y(), l.width(), 8}, 335);
    l.skip(11);
    XyzRow(t, l, l.x(), {244, 245, 246});
    l.close();
    l.group(kStockOrigin, 157, l.y(), 226, 470);
    XyzRow(t, l, l.x(), {249, 254, 436});
    l.close();
    return t;
}

}  // namespace

CPageCutting::CPageCutting() : COptionPage(CuttingTemplate()) {
    const std::string_view digits = kDecimalCharacters;
    addEdit(229, RealSetting(&CLaserSettings::Angle, "%.3f"), digits);
    addEdit(227, RealSetting(&CLaserSettings::LeadInSpan, "%.3f"), digits);
    addEdit(228, RealSetting(&CLaserSettings::LeadOutSpan, "%.3f"), digits);
    addCheck(243, IntSetting(&CLaserSettings::ModeStartPoint));
    addCheck(319, IntSetting(&CLaserSettings::ModeEndPoint));
    for (int i = 0; i < 3; ++i) addEdit(244 + i, PointHomeSetting(i), digits);
    addEdit(249, RealSetting(&CLaserSettings::StockPointOriginX, "%.4f"), digits);
    addEdit(254, RealSetting(&CLaserSettings::StockPointOriginY, "%.4f"), digits);
    addEdit(436, RealSetting(&CLaserSettings::StockPointOriginZ, "%.4f"), digits);
    addEdit(469, RealSetting(&CLaserSettings::ZoneMaxDistOffset, "%.4f"), digits);
    addRadio({{316, 0}, {317, 1}, {318, 2}}, ByteSetting(&CLaserSettings::ZahodTypePoint));
    addCheck(465, IntSetting(&CLaserSettings::ModeUseJumperInStartPoint)).marksModified = false;
    addCheck(252, IntSetting(&CLaserSettings::ModeCutInnerContoursFirst)).marksModified = false;
    addCheck(483, IntSetting(&CLaserSettings::CutEngraveType)).marksModified = false;
    addRadio({{455, 0}, {456, 1}, {457, 2}}, IntSetting(&CLaserSettings::CutLineDirection));
    addRadio({{473, 0}, {466, 1}, {467, 2}, {468, 3}}, ByteSetting(&CLaserSettings::UnloadZahod_CurentCutWinZona));
    addRadio({{458, 0}, {459, 1}, {460, 2}, {461, 3}, {462, 4}}, ByteSetting(&CLaserSettings::UnloadZahodType));
}

// [SECTION] Cut corner page

namespace {

constexpr int kLoopsCheck = 319;
constexpr int kPowerCheck = 531;

DialogTemplate CutCornerTemplate() {
    DialogTemplate t("Cut corner", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kUseLoops, 7, 7, 376, 528)
        .check(kLoopsCheck, kUseLoops)
        .labelEdit(kAngleLessA, 535, 249, 150)
        .labelEdit(kLengthL, 536, 254, 150)
        .labelEdit(kRadiusR, 537, 228, 150)
        .close();
    l.group(kUsePower, 7, l.y(), 376, 529)
        .check(kPowerCheck, kUsePower)
        .labelEdit(kAngle1Less, 538, 436, 150)
        .labelEdit(kLength1, 540, 489, 150)
        .labelEdit(kPower1, 539, 474, 150)
        .labelEdit(kAngle2Less, 541, 532, 150)
        .labelEdit(kLength2, 543, 534, 150)
        .labelEdit(kPower2, 542, 533, 150)
        .close();
    l.group(kPiercing, 7, l.y(), 376, 530).check(252, kPiercing).close();
    return t;
}

}  // namespace

CPageCutCorner::CPageCutCorner() : COptionPage(CutCornerTemplate()) {
    const std::string_view digits = kDecimalCharacters;
    addEdit(249, RealSetting(&CLaserSettings::LoopAngle, "%.4f"), digits);
    addEdit(254, RealSetting(&CLaserSettings::LoopLength, "%.4f"), digits);
    addEdit(228, RealSetting(&CLaserSettings::LoopRadius, "%.4f"), digits);
    // The power values are taken as typed: no check, no modified mark.
    addEdit(436, RealSetting(&CLaserSettings::PowerAngle1, "%.4f")).watched = false;
    addEdit(489, RealSetting(&CLaserSettings::PowerLength1, "%.4f")).watched = false;
    addEdit(474, RealSetting(&CLaserSettings::PowerPower1, "%.4f")).watched = false;
    addEdit(532, RealSetting(&CLaserSettings::PowerAngle2, "%.4f")).watched = false;
    addEdit(534, RealSetting(&CLaserSettings::PowerLength2, "%.4f")).watched = false;
    addEdit(533, RealSetting(&CLaserSettings::PowerPower2, "%.4f")).watched = false;
    addCheck(kLoopsCheck, IntSetting(&CLaserSettings::UseLoop));
    addCheck(kPowerCheck, IntSetting(&CLaserSettings::UsePower));
    addCheck(252, IntSetting(&CLaserSettings::PiercingMode));
}

bool CPageCutCorner::onPageCommand(int id, int code) {
    if (code != host::ui::BN_CLICKED || (id != kLoopsCheck && id != kPowerCheck)) return false;
    // Loops and the change of power exclude each other: switching one on switches the other off.
    updateData(true);
    PageField& clicked = *field(id);
    PageField& other = *field(id == kLoopsCheck ? kPowerCheck : kLoopsCheck);
    if (clicked.value != 0) other.value = 0;
    setModified(true);
    updateData(false);
    return true;
}
