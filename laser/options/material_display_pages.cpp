// The Material page (unit and material of new jobs, material files) and the Display page (colours of contours
// and path lines, the line type of rapid moves).
#include <cstdio>
#include <memory>

#include "cadlib/material_dialogs.h"
#include "cadlib/material_file.h"
#include "cadlib/number_text.h"
#include "host/sys/number_text.h"
#include "host/ui/combo_box.h"
#include "host/ui/constants.h"
#include "host/ui/image.h"
#include "host/ui/static.h"
#include "laser/job/job_messages.h"
#include "laser/options/option_pages.h"
#include "laser/options/option_texts.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"
#include "laser/settings/settings_text.h"

using namespace option_ids;
using host::ui::DialogTemplate;

namespace {

host::ui::ComboBox* ComboOf(host::ui::Dialog& page, int id) { return dynamic_cast<host::ui::ComboBox*>(page.item(id)); }

// [SECTION] Material page

constexpr int kUnitsGroup = 336;
constexpr int kUnitLabelId = 337;
constexpr int kMaterialGroup = 338;

DialogTemplate MaterialTemplate() {
    DialogTemplate t("Material", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kMeasurementUnits, 7, 7, 376, kUnitsGroup);
    t.label(Localized(kUnitLabel), {l.x(), l.y() + 2, 80, 8}, kUnitLabelId);
    t.comboBox(kUnitList, {100, l.y(), 60, 60});
    l.skip(16).close();
    l.group(kPropertyMaterial, 7, l.y(), 376, kMaterialGroup);
    t.label(Localized(kMaterialLabel), {l.x(), l.y() + 2, 80, 8}, 339);
    t.edit(kMaterialName, {100, l.y(), 190, 13}, host::ui::ES_AUTOHSCROLL);
    t.button(kSelectMaterial, Localized(kSelectButton), {300, l.y(), 70, 14});
    l.skip(18);
    l.labelEdit(kMaterialNumLabel, 340, kMaterialNumber, 100, 90)
        .labelEdit(kDensityLabel, 341, kDensity, 100, 90)
        .labelEdit(kThinLabel, 342, kThickness, 100, 90);
    t.button(kSaveMaterialAs, Localized(kSaveAsButton), {300, l.y() - 16, 70, 14});
    l.close();
    return t;
}

}  // namespace

CPageMaterial::CPageMaterial() : COptionPage(MaterialTemplate()) {
    addEdit(kMaterialName, TextSetting(&CLaserSettings::Material));
    addEdit(kMaterialNumber, TextSetting(&CLaserSettings::Material_Num));
    // The range a material file and a job hold the density to: a density taken here is one a job takes.
    PageField& density = addEdit(kDensity, RealSetting(&CLaserSettings::Density, "%e"), kExponentCharacters);
    density.low = 0.0;
    density.high = kMaxMaterialDensity;
    addEdit(kThickness, RealSetting(&CLaserSettings::Thin, "%.3f"), kDecimalCharacters);
    addCombo(kUnitList);
}

void CPageMaterial::LoadExtra(const CLaserSettings& s) {
    field(kUnitList)->text = s.Unit == 0 ? "mm" : "inc";
    shownUnit_ = field(kUnitList)->text;
    folder = s.DirMaterial;
    loadedFolder_ = folder;
}

void CPageMaterial::StoreExtra(CLaserSettings& s) {
    const PageField& unit = *field(kUnitList);
    if (unit.changed()) s.Unit = unit.text == "mm" ? 0 : 1;
    if (folder != loadedFolder_) s.DirMaterial = folder;
    loadedFolder_ = folder;
}

bool CPageMaterial::onInitDialog() {
    if (host::ui::ComboBox* units = ComboOf(*this, kUnitList)) {
        units->addString("inc");
        units->addString("mm");
    }
    return COptionPage::onInitDialog();
}

bool CPageMaterial::onPageCommand(int id, int code) {
    if (id == kUnitList && code == host::ui::CBN_SELCHANGE) {
        SwitchUnit();
        return true;
    }
    if (code != host::ui::BN_CLICKED) return false;
    if (id == kSelectMaterial) {
        SelectMaterial();
        return true;
    }
    if (id == kSaveMaterialAs) {
        SaveMaterialAs();
        return true;
    }
    return false;
}

void CPageMaterial::SwitchUnit() {
    setModified(true);
    updateData(true);
    const PageField& unit = *field(kUnitList);
    // A sheet that loads the page itself (the drawing's options) shows the unit it loaded.
    if (shownUnit_.empty()) shownUnit_ = unit.loadedText;
    if (unit.text.empty() || unit.text == shownUnit_) return;
    const int from = shownUnit_ == "mm" ? 0 : 1;
    const int to = unit.text == "mm" ? 0 : 1;
    const int loaded = unit.loadedText == "mm" ? 0 : 1;
    shownUnit_ = unit.text;
    bool converted = false;
    if (host::ui::PropertySheet* owner = sheet()) {
        for (int i = 0; i < owner->pageCount(); ++i) {
            if (auto* page = dynamic_cast<COptionPage*>(owner->page(i))) {
                page->ConvertLengths(from, to, loaded);
                converted = converted || page == this;
            }
        }
    }
    if (!converted) ConvertLengths(from, to, loaded);
    PrintLocalized(kLengthsConverted, Localized(to == 1 ? kUnitNameInches : kUnitNameMillimetres));
}

void CPageMaterial::SelectMaterial() {
    updateData(true);
    PageField& name = *field(kMaterialName);
    PageField& density = *field(kDensity);
    PageField& number = *field(kMaterialNumber);
    if (ChooseMaterialFile(folder, name.text, density.text, number.text) == 0) updateData(false);
}

void CPageMaterial::SaveMaterialAs() {
    updateData(true);
    std::string chosen;
    const MaterialSaveResult result = SaveMaterialFileAs(folder, field(kMaterialName)->text,
                                                         field(kDensity)->text, field(kMaterialNumber)->text, chosen);
    if (result == MaterialSaveResult::Cancelled) return;
    std::string chosenFolder;
    std::string chosenName;
    GetPathDirectory(chosen, chosenFolder);
    GetPathFileName(chosen, chosenName);
    folder = WithFinalBackslash(chosenFolder);
    field(kMaterialName)->text = chosenName;
    // Shown like typing, so the page is marked modified.
    setItemText(kMaterialName, chosenName);
}

// [SECTION] Display page

namespace {

struct DisplayColour {
    int combo;
    int label;
    const TwoLanguageText* text;
    std::string CLaserSettings::*setting;
};

// In the order of the page's colour fields.
constexpr DisplayColour kDisplayColours[] = {
    {222, 355, &kLineRapidMove, &CLaserSettings::ColorMove},
    {225, 354, &kLineFeedMove, &CLaserSettings::ColorFeed},
    {224, 347, &kProfileOutside, &CLaserSettings::ColorProfOutside},
    {226, 348, &kProfileInside, &CLaserSettings::ColorProfInside},
    {227, 349, &kProfileOutsideNL, &CLaserSettings::ColorProfOutsideNL},
    {228, 350, &kProfileInsideNL, &CLaserSettings::ColorProfInsideNL},
    {257, 351, &kProfileUnclose, &CLaserSettings::ColorProfUnclose},
    {229, 352, &kProfileStock, &CLaserSettings::ColorStock},
};
// The row of the cut moves' colour in kDisplayColours.
constexpr std::size_t kFeedColour = 1;
constexpr int kColourNotChosen = -110;
constexpr int kLineTypePreview = 557;
constexpr const char* kHiddenLineType = "HIDDEN";
constexpr const char* kArrowLineType = "NC_MOVE1_ARROW";

void ColourRow(DialogTemplate& t, PageLayout& l, const DisplayColour& c) {
    t.label(Localized(*c.text), {l.x(), l.y() + 2, 170, 8}, c.label);
    t.control(host::ui::kColourComboClass, c.combo, "", {200, l.y(), 120, 120},
              host::ui::CBS_DROPDOWNLIST | host::ui::WS_TABSTOP | host::ui::WS_VSCROLL);
    l.skip(17);
}

DialogTemplate DisplayTemplate() {
    DialogTemplate t("Display", kPageWidth, kPageHeight);
    PageLayout l(t);
    l.group(kGeometryGroup, 7, 7, 376, 346);
    for (int i = 2; i < 8; ++i) ColourRow(t, l, kDisplayColours[i]);
    l.close();
    l.group(kToolPath, 7, l.y(), 376, 353);
    ColourRow(t, l, kDisplayColours[1]);
    ColourRow(t, l, kDisplayColours[0]);
    l.close();
    l.group(kCncLineDisplay, 7, l.y(), 376, 555);
    t.label(Localized(kFastMovingLineType), {l.x(), l.y() + 2, 170, 8}, 556);
    t.comboBox(kLineTypeList, {200, l.y(), 120, 60});
    l.skip(17);
    t.picture(kLineTypePreview, {200, l.y(), 120, 16});
    l.skip(20).close();
    return t;
}

// The preview of a rapid move: a line that ends at a cross, with arrow marks along it, or dashed without them.
host::ui::BitmapPtr RapidPreview(bool dashed) {
    constexpr int kWidth = 180;
    constexpr int kHeight = 24;
    const host::ui::ColorRef line = host::ui::rgb(0, 150, 0);
    const host::ui::ColorRef cross = host::ui::rgb(200, 0, 0);
    host::ui::Image image(kWidth, kHeight, host::ui::rgb(255, 255, 255));
    const int y = kHeight / 2;
    const int end = kWidth - 14;
    for (int x = 6; x < end; ++x) {
        if (dashed && (x / 7) % 2 == 1) continue;
        image.set(x, y, line);
    }
    if (!dashed) {
        for (int tip = 36; tip < end - 10; tip += 36) {
            for (int k = 1; k <= 5; ++k) {
                image.set(tip - k, y - k, line);
                image.set(tip - k, y + k, line);
            }
        }
    }
    for (int k = -5; k <= 5; ++k) {
        image.set(end + k, y + k, cross);
        image.set(end + k, y - k, cross);
    }
    return std::make_shared<host::ui::Bitmap>(std::move(image), dashed ? "rapid_dashed" : "rapid_arrows");
}

}  // namespace

CPageDisplay::CPageDisplay() : COptionPage(DisplayTemplate()) {
    colourIndex.fill(kColourNotChosen);
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        combos_[i].setUseByBlock(false);
        combos_[i].setUseByLayer(false);
        bindControl(kDisplayColours[i].combo, combos_[i]);
    }
}

void CPageDisplay::LoadExtra(const CLaserSettings& s) {
    source_ = &s;
    lineTypeFlag = s.TypeLineMove == kHiddenLineType ? 1 : 0;
    loadedLineTypeFlag_ = lineTypeFlag;
}

void CPageDisplay::StoreExtra(CLaserSettings& s) {
    for (std::size_t i = 0; i < colourIndex.size(); ++i) {
        if (colourIndex[i] >= 0) s.*kDisplayColours[i].setting = host::sys::formatC("%i", colourIndex[i]);
    }
    // The path writers draw a cut in the colour of its offset side (ColorFeed_G40/41/42) and leave that colour in
    // ColorFeed. The page's one colour of cut moves is the colour of every side: with ColorFeed alone the chosen
    // colour never reached a cut line, and after the next path ColorFeed held the side's old colour, which the
    // next OK of this sheet stored again.
    if (colourIndex[kFeedColour] >= 0) s.ColorFeed_G40 = s.ColorFeed_G41 = s.ColorFeed_G42 = s.ColorFeed;
    // Only a choice on the page changes the line type: any other stored line type than the two the list offers
    // stays as it was.
    if (lineTypeFlag != loadedLineTypeFlag_) s.TypeLineMove = lineTypeFlag != 0 ? kHiddenLineType : kArrowLineType;
    loadedLineTypeFlag_ = lineTypeFlag;
}

bool CPageDisplay::onInitDialog() {
    const CLaserSettings& s = source_ ? *source_ : LaserSettings();
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        const int index = SettingTextToInteger(s.*kDisplayColours[i].setting);
        if (index > 7) combos_[i].addColorToMRU(index);
        const int itemIndex = combos_[i].findItemByColorIndex(index);
        if (itemIndex >= 0) combos_[i].setCurrentSelection(itemIndex);
    }
    if (host::ui::ComboBox* lines = ComboOf(*this, kLineTypeList)) {
        lines->resetContent();
        lines->addString(Localized(kLinesWithArrows));
        lines->addString(Localized(kLinesWithoutArrows));
        lines->setCurrentSelection(lineTypeFlag != 0 ? 1 : 0);
    }
    ShowPreview();
    return COptionPage::onInitDialog();
}

void CPageDisplay::ShowPreview() {
    if (auto* picture = dynamic_cast<host::ui::Static*>(item(kLineTypePreview))) {
        picture->setBitmap(RapidPreview(lineTypeFlag != 0));
    }
}

bool CPageDisplay::onPageCommand(int id, int code) {
    if (code != host::ui::CBN_SELCHANGE) return false;
    if (id == kLineTypeList) {
        if (host::ui::ComboBox* lines = ComboOf(*this, kLineTypeList)) {
            lineTypeFlag = lines->currentSelection() == 0 ? 0 : 1;
        }
        ShowPreview();
        return true;
    }
    for (std::size_t i = 0; i < combos_.size(); ++i) {
        if (kDisplayColours[i].combo == id) {
            colourIndex[i] = combos_[i].currentItemColorIndex();
            setModified(true);
            return true;
        }
    }
    return false;
}
