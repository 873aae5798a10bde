// The ten pages of the system options sheet. Each page's constructor builds its template (390 x 335 dialog units,
// captioned with its tab's title, which stays English) and its fields with the settings behind them.
#pragma once

#include <array>
#include <string>

#include "host/ui/colour_combo.h"
#include "host/ui/slider.h"
#include "laser/options/option_page.h"

// Control ids the pages, their tests and scripts share.
namespace option_ids {
// Material
inline constexpr int kUnitList = 238;
inline constexpr int kMaterialName = 228;
inline constexpr int kMaterialNumber = 347;
inline constexpr int kDensity = 239;
inline constexpr int kThickness = 240;
inline constexpr int kSelectMaterial = 241;
inline constexpr int kSaveMaterialAs = 305;
// Display
inline constexpr int kLineTypeList = 554;
// Cutting
inline constexpr int kLeadAngle = 229;
inline constexpr int kLeadInSpan = 227;
inline constexpr int kLeadOutSpan = 228;
inline constexpr int kClockwise = 456;
// Options
inline constexpr int kConnectDistanceList = 257;
// Machine
inline constexpr int kMachineTypeList = 237;
inline constexpr int kPostprocessorEdit = 225;
inline constexpr int kSelectPostprocessor = 226;
inline constexpr int kEditPostprocessor = 482;
inline constexpr int kFeedCut = 232;
inline constexpr int kFeedRapid = 233;
// Nesting
inline constexpr int kQualitySlider = 307;
// Clamp
inline constexpr int kClampCount = 474;
}  // namespace option_ids

class CPageMaterial : public COptionPage {
public:
    CPageMaterial();
    std::string folder;  // the material folder: no control, kept with a trailing separator

protected:
    void LoadExtra(const CLaserSettings& s) override;
    void StoreExtra(CLaserSettings& s) override;
    bool onInitDialog() override;
    bool onPageCommand(int id, int code) override;

private:
    void SelectMaterial();
    void SaveMaterialAs();
    // The unit list changed: every length field of every page of the sheet is converted to the new unit.
    void SwitchUnit();
    std::string loadedFolder_;
    std::string shownUnit_;  // the unit the lengths are shown in: "mm" or "inc"
};

class CPageDisplay : public COptionPage {
public:
    CPageDisplay();
    // Colour indexes chosen on the page, in the order of kDisplayColours; -110 while a colour was not chosen.
    std::array<int, 8> colourIndex{};
    int lineTypeFlag = 0;  // 1 lines without arrows ("HIDDEN"), 0 with arrows

protected:
    void LoadExtra(const CLaserSettings& s) override;
    void StoreExtra(CLaserSettings& s) override;
    bool onInitDialog() override;
    bool onPageCommand(int id, int code) override;

private:
    // The picture of the rapid line type chosen.
    void ShowPreview();
    std::array<host::ui::ColourCombo, 8> combos_;
    const CLaserSettings* source_ = nullptr;
    int loadedLineTypeFlag_ = 0;
};

class CPageCutting : public COptionPage {
public:
    CPageCutting();
};

class CPageCutCorner : public COptionPage {
public:
    CPageCutCorner();

protected:
    bool onPageCommand(int id, int code) override;
};

class CPageProfile : public COptionPage {
public:
    CPageProfile();
};

class CPageOptions : public COptionPage {
public:
    CPageOptions();

protected:
    void LoadExtra(const CLaserSettings& s) override;
    void StoreExtra(CLaserSettings& s) override;
    bool onInitDialog() override;
};

class CPageMachine : public COptionPage {
public:
    CPageMachine();
    std::string folder;  // the postprocessor folder: no control, with a trailing separator

protected:
    void LoadExtra(const CLaserSettings& s) override;
    void StoreExtra(CLaserSettings& s) override;
    bool onInitDialog() override;
    bool onPageCommand(int id, int code) override;

private:
    // The file dialog of both buttons, shown again after a file that is no postprocessor (Select...) until one is
    // read or the user cancels. Answers the path read, empty on cancel; `settings` gets what the file holds.
    std::string ChooseAndRead(struct PostprocessorSettings& settings);
    void SelectPostprocessor();
    void EditPostprocessor();
    void TakeRapidFeed(const std::string& text);
    std::string loadedFolder_;
};

class CPageNesting : public COptionPage {
public:
    CPageNesting();
    int quality = 0;  // the slider's position as loaded, and as stored by the page's own OK

protected:
    void LoadExtra(const CLaserSettings& s) override;
    void StoreExtra(CLaserSettings& s) override;
    bool onInitDialog() override;
    bool onApply() override;
    std::intptr_t windowProc(host::ui::Message& m) override;

private:
    host::ui::Slider slider_;
    bool qualityTaken_ = false;  // the page's own OK took the slider's position
};

class CPageUnload : public COptionPage {
public:
    CPageUnload();
};

class CPageClamp : public COptionPage {
public:
    CPageClamp();

protected:
    bool onPageCommand(int id, int code) override;
};
