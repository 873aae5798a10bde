// The two option sheets: the system options (ten pages over the module's settings, stored in the registry) and the
// options of the current drawing (the Material page over the drawing's job, stored in the drawing).
#pragma once

#include <string>

#include "host/ui/property_sheet.h"
#include "laser/options/option_pages.h"
#include "laser/settings/laser_settings.h"

struct CuttingJob;

class CSheetOption : public host::ui::PropertySheet {
public:
    CSheetOption(std::string caption, host::ui::Window* parent = nullptr, int firstPage = 0,
                 CLaserSettings& settings = LaserSettings());

    // Fills the fields of all ten pages, shown or not, from the settings.
    void LoadSettings();
    // Stores the pages' changed fields into the settings and writes the registry; answers the write's result
    // (0, or -1 when the registry could not be written: the user has been told).
    int SaveSettings();

    CPageMaterial material;
    CPageDisplay display;
    CPageCutting cutting;
    CPageCutCorner cutCorner;
    CPageProfile profile;
    CPageOptions options;
    CPageMachine machine;
    CPageNesting nesting;
    CPageUnload unload;
    CPageClamp clamp;

protected:
    // Apply: the pages' own Apply, then the settings stored and written; the pages are unmodified afterwards.
    void onApplyNow() override;

private:
    COptionPage* Page(int index);
    CLaserSettings& settings_;
};

// Runs the system options sheet; on OK the settings are stored and written. A failed registry write is told in a
// message box. Answers 0.
int ShowSystemOptions();

class CSheetDWGOption : public host::ui::PropertySheet {
public:
    // The sheet with the Material page alone, over `job`.
    CSheetDWGOption(std::string caption, CuttingJob& job, host::ui::Window* parent = nullptr, int firstPage = 0);

    // Fills the Material page from the job.
    void LoadFromJob();
    // Stores the page's changed fields into the job, raises the drawing's change counter and writes the job into
    // the drawing; answers the write's result.
    int SaveToJob();

    CPageCutting cutting;
    CPageMaterial material;
    CPageMachine machine;

protected:
    void onApplyNow() override;

private:
    CuttingJob& job_;
};

// Runs the current drawing's options sheet, then refreshes the start rapid, the path totals and the status line,
// raises the change counter and writes the job. Answers 0 (also when the drawing has no job: nothing is shown).
int ShowDrawingOptions();
