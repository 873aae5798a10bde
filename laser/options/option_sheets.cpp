// The system options sheet and the current drawing's options sheet.
#include "laser/options/option_sheets.h"

#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/message_box.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/options/option_texts.h"
#include "laser/path/path_lookup.h"
#include "laser/path/path_totals.h"
#include "laser/settings/number_field_check.h"
#include "laser/settings/settings_text.h"

// [SECTION] System options

CSheetOption::CSheetOption(std::string caption, host::ui::Window* parent, int firstPage, CLaserSettings& settings)
    : PropertySheet(std::move(caption), parent, firstPage), settings_(settings) {
    for (int i = 0; i < 10; ++i) addPage(*Page(i));
}

COptionPage* CSheetOption::Page(int index) {
    COptionPage* pages[] = {&material, &display, &cutting, &cutCorner, &profile,
                            &options,  &machine, &nesting, &unload,    &clamp};
    return pages[index];
}

void CSheetOption::LoadSettings() {
    for (int i = 0; i < 10; ++i) Page(i)->LoadSettings(settings_);
}

int CSheetOption::SaveSettings() {
    for (int i = 0; i < 10; ++i) Page(i)->StoreSettings(settings_);
    const int written = settings_.WriteRegistrySettings();
    if (written != 0) {
        host::ui::messageBox(Localized(kOptionsNotStored), Localized(kSystemSheetCaption),
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
    }
    return written;
}

void CSheetOption::onApplyNow() {
    if (!applyPages()) return;
    SaveSettings();
    for (int i = 0; i < 10; ++i) Page(i)->setModified(false);
}

int ShowSystemOptions() {
    CSheetOption sheet(Localized(kSystemSheetCaption), nullptr, 0);
    sheet.LoadSettings();
    if (sheet.doModal() == host::ui::IDOK) sheet.SaveSettings();
    return 0;
}

// [SECTION] Current drawing's options

CSheetDWGOption::CSheetDWGOption(std::string caption, CuttingJob& job, host::ui::Window* parent, int firstPage)
    : PropertySheet(std::move(caption), parent, firstPage), job_(job) {
    addPage(material);
}

void CSheetDWGOption::LoadFromJob() {
    const auto load = [this](int id, std::string text) {
        PageField& f = *material.field(id);
        f.text = std::move(text);
        f.markLoaded();
    };
    load(option_ids::kMaterialName, job_.material);
    load(option_ids::kMaterialNumber, job_.materialNumber);
    load(option_ids::kDensity, host::sys::formatC("%e", job_.density));
    load(option_ids::kThickness, host::sys::formatC("%.3f", job_.thickness));
    load(option_ids::kUnitList, job_.unit != 0 ? "inc" : "mm");
    material.folder = job_.materialFolder;
    if (material.exists()) material.updateData(false);
}

int CSheetDWGOption::SaveToJob() {
    const PageField& name = *material.field(option_ids::kMaterialName);
    const PageField& number = *material.field(option_ids::kMaterialNumber);
    const PageField& density = *material.field(option_ids::kDensity);
    const PageField& thickness = *material.field(option_ids::kThickness);
    const PageField& unit = *material.field(option_ids::kUnitList);
    // Only what the user changed is taken: an untouched value keeps every digit it had.
    if (name.changed()) job_.material = name.text;
    if (number.changed()) job_.materialNumber = number.text;
    // A text that is not one number was refused on the page; it changes nothing here either.
    if (density.changed()) job_.density = host::sys::fieldReal(density.text).value_or(job_.density);
    if (thickness.changed()) job_.thickness = host::sys::fieldReal(thickness.text).value_or(job_.thickness);
    if (unit.changed()) job_.unit = unit.text == "mm" ? 0 : 1;
    job_.materialFolder = material.folder;
    for (int id : {option_ids::kMaterialName, option_ids::kMaterialNumber, option_ids::kDensity,
                   option_ids::kThickness, option_ids::kUnitList}) {
        material.field(id)->markLoaded();
    }
    CLaserSettings& settings = LaserSettings();
    if (DrawingSlot* slot = CurrentSlot(settings)) ++slot->changeCounter;
    return WriteJobData(settings);
}

void CSheetDWGOption::onApplyNow() {
    if (!applyPages()) return;
    SaveToJob();
    material.setModified(false);
}

int ShowDrawingOptions() {
    CLaserSettings& settings = LaserSettings();
    PrepareDrawingJob(settings);
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr) return 0;
    {
        CSheetDWGOption sheet(Localized(kDrawingSheetCaption), *job, nullptr, 0);
        sheet.LoadFromJob();
        if (sheet.doModal() == host::ui::IDOK) sheet.SaveToJob();
    }
    RedrawStartRapid();
    RegenPathTotals();
    UpdateStatusLine();
    if (DrawingSlot* slot = CurrentSlot(settings)) ++slot->changeCounter;
    WriteJobData(settings);
    return 0;
}
