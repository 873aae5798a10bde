// A sample dialog and a sample property sheet, shaped like the dialogs of the modules (labelled edits with their
// checks, a check box, a radio group, a sorted drop-down list; pages behind tabs, one of which refuses to be
// left while its value is wrong). Tests drive them, render them to PNG, and the whole-program tests show them
// from a command that a script answers.
#pragma once

#include <string>

#include "host/ui/data_exchange.h"
#include "host/ui/dialog.h"
#include "host/ui/message_box.h"
#include "host/ui/property_sheet.h"

namespace host::ui::samples {

// [SECTION] The sample dialog

struct CuttingOptions {
    std::string name = "Plate";
    int quantity = 1;
    double gap = 2.0;
    bool mirror = false;
    int units = 0;  // 0 millimetres, 1 inches
    std::string material = "Steel";
};

inline constexpr int kNameEdit = 1001;
inline constexpr int kQuantityEdit = 1002;
inline constexpr int kGapEdit = 1003;
inline constexpr int kMirrorCheck = 1004;
inline constexpr int kMillimetresRadio = 1005;
inline constexpr int kInchesRadio = 1006;
inline constexpr int kMaterialCombo = 1007;

inline DialogTemplate cuttingOptionsTemplate() {
    DialogTemplate t("Cutting Options", 230, 150);
    t.label("&Name:", {7, 9, 50, 8})
        .edit(kNameEdit, {60, 7, 100, 12})
        .label("&Quantity:", {7, 25, 50, 8})
        .edit(kQuantityEdit, {60, 23, 40, 12})
        .checkBox(kMirrorCheck, "&Mirror", {115, 24, 60, 10})
        .label("&Gap (mm):", {7, 41, 50, 8})
        .edit(kGapEdit, {60, 39, 40, 12})
        .groupBox("Units", {7, 57, 100, 40})
        .radio(kMillimetresRadio, "Milli&metres", {14, 69, 80, 10}, true)
        .radio(kInchesRadio, "&Inches", {14, 82, 80, 10}, false)
        .label("Ma&terial:", {115, 59, 50, 8})
        .comboBox(kMaterialCombo, {115, 69, 100, 60}, CBS_DROPDOWNLIST | CBS_SORT)
        .defaultButton(IDOK, "OK", {118, 129, 50, 14})
        .button(IDCANCEL, "Cancel", {173, 129, 50, 14});
    return t;
}

class CuttingOptionsDialog : public Dialog {
public:
    explicit CuttingOptionsDialog(CuttingOptions options = {}, Window* owner = nullptr)
        : Dialog(cuttingOptionsTemplate(), owner), options(std::move(options)) {}

    CuttingOptions options;

protected:
    bool onInitDialog() override {
        if (Window* materials = item(kMaterialCombo))
            for (const char* m : {"Steel", "Aluminium", "Copper"})
                materials->send(CB_ADDSTRING, 0, lParamFromPointer(m));
        return Dialog::onInitDialog();
    }
    void doDataExchange(DataExchange& dx) override {
        dx.text(kNameEdit, options.name);
        dx.maxChars(options.name, 30);
        dx.integer(kQuantityEdit, options.quantity);
        dx.range(options.quantity, 1, 1000);
        dx.check(kMirrorCheck, options.mirror);
        dx.real(kGapEdit, options.gap);
        dx.range(options.gap, 0.0, 100.0);
        dx.radio(kMillimetresRadio, options.units);
        dx.comboText(kMaterialCombo, options.material);
    }
};

// [SECTION] The sample property sheet

struct MachineSettings {
    std::string machine = "Laser 3015";
    bool useProfiles = true;
    double speed = 3000;
    std::string power = "High";
    std::string notes;
};

inline constexpr int kMachineEdit = 1101;
inline constexpr int kProfilesCheck = 1102;
inline constexpr int kSpeedEdit = 1201;
inline constexpr int kPowerCombo = 1202;
inline constexpr int kNotesEdit = 1301;

// A page that marks itself changed when the user changes one of its fields, and copies its fields to the
// settings kept when OK or Apply is pressed.
class SettingsPage : public PropertyPage {
public:
    SettingsPage(DialogTemplate t, MachineSettings& edited, MachineSettings& kept)
        : PropertyPage(std::move(t)), edited_(edited), kept_(kept) {}

protected:
    bool onCommand(int, int code, Window*) override {
        if (code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED) setModified(true);
        return true;
    }

    MachineSettings& edited_;
    MachineSettings& kept_;
};

class GeneralPage : public SettingsPage {
public:
    GeneralPage(MachineSettings& edited, MachineSettings& kept) : SettingsPage(pageTemplate(), edited, kept) {}

protected:
    static DialogTemplate pageTemplate() {
        DialogTemplate t("General", 200, 90);
        t.label("&Machine name:", {7, 9, 60, 8})
            .edit(kMachineEdit, {70, 7, 120, 12})
            .checkBox(kProfilesCheck, "&Use profiles", {70, 25, 100, 10});
        return t;
    }
    void doDataExchange(DataExchange& dx) override {
        dx.text(kMachineEdit, edited_.machine);
        dx.maxChars(edited_.machine, 40);
        dx.check(kProfilesCheck, edited_.useProfiles);
    }
    void onOK() override {
        kept_.machine = edited_.machine;
        kept_.useProfiles = edited_.useProfiles;
    }
};

class CuttingPage : public SettingsPage {
public:
    CuttingPage(MachineSettings& edited, MachineSettings& kept) : SettingsPage(pageTemplate(), edited, kept) {}

protected:
    static DialogTemplate pageTemplate() {
        DialogTemplate t("Cutting", 200, 90);
        t.label("&Speed (mm/min):", {7, 9, 60, 8})
            .edit(kSpeedEdit, {70, 7, 60, 12})
            .label("&Power:", {7, 27, 60, 8})
            .comboBox(kPowerCombo, {70, 25, 60, 60});
        return t;
    }
    bool onInitDialog() override {
        if (Window* power = item(kPowerCombo))
            for (const char* p : {"Low", "Medium", "High"}) power->send(CB_ADDSTRING, 0, lParamFromPointer(p));
        return PropertyPage::onInitDialog();
    }
    void doDataExchange(DataExchange& dx) override {
        dx.real(kSpeedEdit, edited_.speed);
        dx.comboText(kPowerCombo, edited_.power);
    }
    // The page cannot be left while the speed is not above zero.
    bool onKillActive() override {
        if (!PropertyPage::onKillActive()) return false;
        if (edited_.speed > 0) return true;
        messageBox("The speed must be greater than 0.", "Cutting", MB_OK | MB_ICONERROR, this);
        if (Window* speed = item(kSpeedEdit)) gotoControl(*speed);
        return false;
    }
    void onOK() override {
        kept_.speed = edited_.speed;
        kept_.power = edited_.power;
    }
};

class NotesPage : public SettingsPage {
public:
    NotesPage(MachineSettings& edited, MachineSettings& kept) : SettingsPage(pageTemplate(), edited, kept) {}

protected:
    static DialogTemplate pageTemplate() {
        DialogTemplate t("Notes", 200, 90);
        t.edit(kNotesEdit, {7, 7, 186, 76}, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL);
        return t;
    }
    void doDataExchange(DataExchange& dx) override { dx.text(kNotesEdit, edited_.notes); }
    void onOK() override { kept_.notes = edited_.notes; }
};

// The sheet "Machine Settings" over `settings`: OK and Apply write the pages' fields into it, Cancel leaves it.
class MachineSettingsSheet : public PropertySheet {
public:
    explicit MachineSettingsSheet(MachineSettings& settings, Window* owner = nullptr, int startPage = 0)
        : PropertySheet("Machine Settings", owner, startPage),
          edited_(settings),
          general_(edited_, settings),
          cutting_(edited_, settings),
          notes_(edited_, settings) {
        addPage(general_);
        addPage(cutting_);
        addPage(notes_);
    }

private:
    MachineSettings edited_;
    GeneralPage general_;
    CuttingPage cutting_;
    NotesPage notes_;
};

}  // namespace host::ui::samples
