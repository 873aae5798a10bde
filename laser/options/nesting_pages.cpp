// The Nesting page (options of the nesting module), the Unload page (unloading of cut parts) and the Clamp page
// (the clamps that hold the sheet).
#include <algorithm>

#include "cadlib/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/message.h"
#include "host/ui/message_box.h"
#include "laser/options/option_pages.h"
#include "laser/options/option_texts.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"
#include "laser/settings/settings_text.h"

using host::ui::DialogTemplate;

namespace {

// [SECTION] Nesting page

// The nesting module reads a quality from 3 to 9 and takes 3 for any other, so the slider offers that range: a
// lower position would be stored and silently read back as 3.
constexpr int kLowestQuality = 3;
constexpr int kHighestQuality = 9;

DialogTemplate NestingTemplate() {
    DialogTemplate t("Nesting", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kRectangle, 7, 7, 376, 366).check(255, kUsePairs).close();
    l.group(kAdvanced, 7, l.y(), 376, 367).check(308, kUseClusters).check(252, kUseHole).check(253, kPressing).close();
    l.group(kQualityNesting, 7, l.y(), 376, 368);
    t.label(Localized(kSpeed), {l.x(), l.y() + 6, 50, 8}, 369);
    t.slider(option_ids::kQualitySlider, {l.x() + 56, l.y(), 240, 20}, host::ui::TBS_AUTOTICKS);
    t.label(Localized(kQuality), {l.x() + 302, l.y() + 6, 60, 8}, 370);
    l.skip(26).close();
    // Pairs, clusters and holes are always used by the nesting module, whatever is stored: they are shown and
    // cannot be cleared here, so that no cleared box is silently switched on again.
    for (auto& row : t.items) {
        if (row.id == 255 || row.id == 308 || row.id == 252) row.style |= host::ui::WS_DISABLED;
    }
    return t;
}

}  // namespace

CPageNesting::CPageNesting() : COptionPage(NestingTemplate()) {
    addCheck(308, IntSetting(&CLaserSettings::Nesting_Adv_UseCluster));
    addCheck(252, IntSetting(&CLaserSettings::Nesting_Adv_UseHole));
    addCheck(253, IntSetting(&CLaserSettings::Nesting_Adv_Pressing));
    addCheck(255, IntSetting(&CLaserSettings::Nesting_Rect_UsePair));
    bindControl(option_ids::kQualitySlider, slider_);
}

void CPageNesting::LoadExtra(const CLaserSettings& s) {
    quality = s.Nesing_Quality;
    qualityTaken_ = false;
}

void CPageNesting::StoreExtra(CLaserSettings& s) {
    if (qualityTaken_) s.Nesing_Quality = quality;
    qualityTaken_ = false;
}

bool CPageNesting::onInitDialog() {
    slider_.setRange(kLowestQuality, kHighestQuality);
    slider_.setTicFrequency(1);
    slider_.setPosition(std::clamp(quality, kLowestQuality, kHighestQuality));
    return COptionPage::onInitDialog();
}

bool CPageNesting::onApply() {
    // The page's own OK: a position the user moved the slider to becomes the quality.
    if (slider_.exists() && slider_.position() != std::clamp(quality, kLowestQuality, kHighestQuality)) {
        quality = slider_.position();
        qualityTaken_ = true;
    }
    return COptionPage::onApply();
}

std::intptr_t CPageNesting::windowProc(host::ui::Message& m) {
    if (m.id == host::ui::WM_HSCROLL && host::ui::loWord(m.w) == host::ui::TB_THUMBPOSITION) setModified(true);
    return COptionPage::windowProc(m);
}

// [SECTION] Unload page

namespace {

DialogTemplate UnloadTemplate() {
    DialogTemplate t("Unload", kPageWidth, kPageHeight);
    // Three groups one under the other: a group box drawn over another one hides what the inner one shows.
    t.groupBox(Localized(kUnloadingOperation), {7, 7, 376, 28}, 446);
    t.checkBox(319, Localized(kNoUnloadJumpers), {15, 19, 340, 10});
    t.groupBox(Localized(kUnloadWindowSize), {7, 42, 376, 50}, 452);
    t.label("X", {15, 58, 20, 8}).edit(249, {40, 56, 70, 13}, host::ui::ES_AUTOHSCROLL);
    t.label("Y", {15, 74, 20, 8}).edit(254, {40, 72, 70, 13}, host::ui::ES_AUTOHSCROLL);
    t.groupBox(Localized(kUnloadOption), {7, 99, 376, 74}, 447);
    int y = 113;
    bool first = true;
    for (const auto& [id, text] : {std::pair{451, &kNoUnloading}, std::pair{448, &kUnloadAll},
                                   std::pair{449, &kUnloadOutside}, std::pair{450, &kUnloadInside}}) {
        t.radio(id, Localized(*text), {15, y, 340, 10}, first);
        first = false;
        y += 14;
    }
    return t;
}

}  // namespace

CPageUnload::CPageUnload() : COptionPage(UnloadTemplate()) {
    addCheck(319, IntSetting(&CLaserSettings::UnloadJump), 1);
    PageField& option = addRadio({{451, 0}, {448, 1}, {449, 2}, {450, 3}}, IntSetting(&CLaserSettings::UnloadOption));
    option.value = 0;
    option.loadedValue = 0;
    addEdit(249, RealSetting(&CLaserSettings::UnloadWindowSizeX, "%.1f"), kDecimalCharacters);
    addEdit(254, RealSetting(&CLaserSettings::UnloadWindowSizeY, "%.1f"), kDecimalCharacters);
}

// [SECTION] Clamp page

namespace {

constexpr int kClampUse = 319;
constexpr std::string_view kClampCountCharacters = "2345";
constexpr int kFewestClamps = 2;
constexpr int kMostClamps = 5;

DialogTemplate ClampTemplate() {
    DialogTemplate t("Clamp", kPageWidth, kPageHeight);
    PageLayout l(t);
    t.checkBox(kClampUse, Localized(kUseClamp), {7, 7, 200, 10});
    l.group(kUseOfClamps, 7, 22, 376, 445)
        .labelEdit(kClampCount, 475, option_ids::kClampCount, 200)
        .labelEdit(kDistanceA, 441, 249, 200)
        .labelEdit(kDistanceB, 442, 254, 200)
        .labelEdit(kDistanceC, 443, 228, 200)
        .labelEdit(kDistanceD, 444, 436, 200)
        .skip(4)
        .radios({{437, &kClampsMiddle}, {438, &kClampsFromA}})
        .close();
    return t;
}

}  // namespace

CPageClamp::CPageClamp() : COptionPage(ClampTemplate()) {
    addCheck(kClampUse, IntSetting(&CLaserSettings::Nesing_ClampUse));
    addEdit(option_ids::kClampCount, IntSetting(&CLaserSettings::Nesing_ClampQuantity));
    addEdit(249, RealSetting(&CLaserSettings::Nesing_Clamp1PozX, "%.1f"), kDecimalCharacters);
    addEdit(254, RealSetting(&CLaserSettings::Nesing_ClampingDistance, "%.1f"), kDecimalCharacters);
    addEdit(228, RealSetting(&CLaserSettings::Nesing_ClampHeight, "%.1f"), kDecimalCharacters);
    addEdit(436, RealSetting(&CLaserSettings::Nesing_ClampWidth, "%.1f"), kDecimalCharacters);
    addRadio({{437, 1}, {438, 0}}, IntSetting(&CLaserSettings::Nesing_ClampCenterList));
}

bool CPageClamp::onPageCommand(int id, int code) {
    if (id != option_ids::kClampCount || code != host::ui::EN_CHANGE) return false;
    setModified(true);
    PageField& count = *field(option_ids::kClampCount);
    const std::string kept = count.text;
    updateData(true);
    std::string message;
    if (HasCharsOutsideSet(count.text, std::string(kClampCountCharacters)) != 0) {
        message = FormatLocalized(kInvalidSymbolInString, count.text.c_str());
    } else {
        const int value = SettingTextToInteger(count.text);
        if (value < kFewestClamps || value > kMostClamps) {
            message = FormatLocalized(kWrongClampCount, count.text.c_str());
        }
    }
    if (message.empty()) return true;
    count.text = kept;
    updateData(false);
    host::ui::messageBox(message, "", host::ui::MB_OK);
    return true;
}
