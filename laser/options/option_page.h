// What every option page shares: its fields (one per control that carries a value), the exchange of the fields
// with the controls, the modified mark, the character check of numeric fields, and the loading of the fields from
// the settings and their storing back.
//
//   kind    control          loaded from a setting                    stored back (only when the user changed it)
//   Edit    edit             real: the field's format; integer "%i";  real: the whole text read as a number;
//                            text: copied                             integer likewise; text: copied
//   Check   check box        the setting (0 or 1)                     1 when checked, else 0
//   Radio   radio buttons    the option whose code is the setting;    the code of the option chosen
//                            none for a setting outside the codes
//   Combo   drop-down list   the item text (the page converts)        the item text (the page converts)
//
// A number field (an edit with a set of characters, or one of a number setting) is read whole: when its page is left
// or the sheet confirmed, a changed text that is not one number ("6.0.0", ".", "2..", an empty text; a count that
// is not a whole number) is refused with a message, and the field gets back the value it had, which stays stored.
//
// A field whose value is what loading gave it stores nothing: an untouched OK gives every setting back exactly
// as it was read, where showing a value with fewer decimals than it holds would otherwise round it (a thickness
// of 1.23456 shown as "1.235" came back as 1.235).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "cadlib/messages.h"
#include "host/ui/property_sheet.h"

class CLaserSettings;

// The setting behind a field: exactly one member is set (point with its index for a coordinate of PointHome).
struct SettingRef {
    std::string CLaserSettings::*text = nullptr;
    double CLaserSettings::*real = nullptr;
    int CLaserSettings::*integer = nullptr;
    std::int8_t CLaserSettings::*byte = nullptr;
    std::array<double, 3> CLaserSettings::*point = nullptr;
    int pointIndex = 0;
    const char* format = "%.3f";  // of a real

    bool isSet() const { return text || real || integer || byte || point; }
};

inline SettingRef TextSetting(std::string CLaserSettings::*m) { return SettingRef{.text = m}; }
inline SettingRef RealSetting(double CLaserSettings::*m, const char* format) {
    return SettingRef{.real = m, .format = format};
}
inline SettingRef IntSetting(int CLaserSettings::*m) { return SettingRef{.integer = m}; }
inline SettingRef ByteSetting(std::int8_t CLaserSettings::*m) { return SettingRef{.byte = m}; }
SettingRef PointHomeSetting(int index);

// The number a setting holds, as an integer (integer and byte settings) or a real; and setting it.
double SettingNumber(const CLaserSettings& s, const SettingRef& ref);
void SetSettingNumber(CLaserSettings& s, const SettingRef& ref, double value);

enum class FieldKind { Edit, Check, Radio, Combo };

// One option of a radio group: its button and the code the setting holds for it.
struct RadioChoice {
    int id;
    int code;
};

struct PageField {
    FieldKind kind = FieldKind::Edit;
    int id = 0;                        // the control; for a radio group its first button
    SettingRef setting;                // none: the page loads and stores the field itself
    std::string_view allowed;          // an edit checked by ValidateNumberField; empty: no check
    bool marksModified = true;         // a change marks the page modified
    bool watched = true;               // false: the control's changes are not looked at (no check, no mark)
    std::vector<RadioChoice> choices;  // a radio group's options, in the order they are tested on storing

    bool length = false;               // an edit of a length, converted when the unit is switched
    double low = -1e300, high = 1e300;  // a number field's range, checked with its text
    bool convertedOnly = false;        // its text is its loaded value converted, not typed by the user

    std::string text;  // Edit, Combo
    int value = 0;     // Check: 0 or 1; Radio: the index of the option chosen, -1 for none
    std::string loadedText;
    int loadedValue = 0;

    // An edit whose text is a number, and one whose number is whole.
    bool isNumber() const { return kind == FieldKind::Edit && (!allowed.empty() || isWholeNumber() || setting.real || setting.point); }
    bool isWholeNumber() const { return kind == FieldKind::Edit && (setting.integer || setting.byte); }

    // Whether the user changed the field since it was loaded.
    bool changed() const { return text != loadedText || value != loadedValue; }
    // The field as loaded: its state now is what the user has not changed.
    void markLoaded() {
        loadedText = text;
        loadedValue = value;
    }
};

class COptionPage : public host::ui::PropertyPage {
public:
    explicit COptionPage(host::ui::DialogTemplate t);

    // Fields by their control (a radio group by any of its buttons); nullptr when none.
    PageField* field(int id);
    const PageField* field(int id) const;

    // Fills the fields that have a setting from `s` by the table above, then LoadExtra. The fields count as
    // loaded afterwards.
    void LoadSettings(const CLaserSettings& s);
    // Stores the changed fields that have a setting into `s`, then StoreExtra.
    void StoreSettings(CLaserSettings& s);

    // The unit of the lengths was switched from `from` to `to` (0 millimetres, 1 inches); `loaded` is the unit
    // they were loaded in. Every length field shows its number in the new unit: a field the user has not typed in
    // since it was loaded gets its loaded text back on the way back to `loaded`, so that switching there and back
    // changes nothing; a text that is no number is left for the check to refuse.
    void ConvertLengths(int from, int to, int loaded);

protected:
    PageField& addEdit(int id, SettingRef setting, std::string_view allowed = {});
    PageField& addCheck(int id, SettingRef setting, int initial = 0);
    PageField& addRadio(std::vector<RadioChoice> choices, SettingRef setting);
    PageField& addCombo(int id, SettingRef setting = {});

    // What the page loads and stores beyond its fields' settings.
    virtual void LoadExtra(const CLaserSettings& /*s*/) {}
    virtual void StoreExtra(CLaserSettings& /*s*/) {}
    // A control of the page sent a command; answer true when the page handled it (the default handling of the
    // fields then does not run).
    virtual bool onPageCommand(int /*id*/, int /*code*/) { return false; }

    void doDataExchange(host::ui::DataExchange& dx) override;
    // Leaving the page: its fields are saved, and number fields read whole (see above).
    bool onKillActive() override;
    bool onCommand(int id, int code, host::ui::Window* control) override;

private:
    std::deque<PageField> fields_;
    bool checkingNumbers_ = false;
};

// [SECTION] Building page templates
// Rows of a page, in dialog units, placed top to bottom inside a group box: every page is 390 x 335.
inline constexpr int kPageWidth = 390;
inline constexpr int kPageHeight = 335;

class PageLayout {
public:
    explicit PageLayout(host::ui::DialogTemplate& t) : t_(t) {}

    // A group box at x, y of width w whose rows start below its caption; close() sets its height.
    PageLayout& group(const TwoLanguageText& text, int x, int y, int w, int id = -1);
    // Closes the open group after its last row.
    PageLayout& close(int extra = 0);
    // A label and an edit on one row: the label from the group's left edge, the edit at `editX` of `editW`.
    PageLayout& labelEdit(const TwoLanguageText& text, int labelId, int editId, int editX, int editW = 60);
    PageLayout& check(int id, const TwoLanguageText& text, int w = 0);
    PageLayout& radios(std::initializer_list<std::pair<int, const TwoLanguageText*>> options, int w = 0);
    // Moves down without a control.
    PageLayout& skip(int dy) {
        y_ += dy;
        return *this;
    }
    int x() const { return x_ + 8; }
    int y() const { return y_; }
    int width() const { return w_ - 16; }

private:
    host::ui::DialogTemplate& t_;
    std::size_t groupRow_ = 0;
    int x_ = 0;
    int y_ = 0;
    int w_ = 0;
    int groupTop_ = 0;
};
