// The option page base: fields, their exchange with the controls, the modified mark, the numeric check, loading
// from the settings and storing back; and the layout helper of the page templates.
#include "laser/options/option_page.h"

#include <algorithm>

#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"
#include "laser/settings/settings_text.h"
#include "laser/settings/settings_values.h"

SettingRef PointHomeSetting(int index) {
    SettingRef ref;
    ref.point = &CLaserSettings::PointHome;
    ref.pointIndex = index;
    ref.format = "%.4f";
    return ref;
}

double SettingNumber(const CLaserSettings& s, const SettingRef& ref) {
    if (ref.real) return s.*ref.real;
    if (ref.integer) return s.*ref.integer;
    if (ref.byte) return s.*ref.byte;
    if (ref.point) return (s.*ref.point)[static_cast<std::size_t>(ref.pointIndex)];
    return 0.0;
}

void SetSettingNumber(CLaserSettings& s, const SettingRef& ref, double value) {
    if (ref.real) s.*ref.real = value;
    if (ref.integer) s.*ref.integer = static_cast<int>(value);
    if (ref.byte) s.*ref.byte = static_cast<std::int8_t>(static_cast<int>(value));
    if (ref.point) (s.*ref.point)[static_cast<std::size_t>(ref.pointIndex)] = value;
}

COptionPage::COptionPage(host::ui::DialogTemplate t) : PropertyPage(std::move(t)) {}

PageField* COptionPage::field(int id) {
    for (PageField& f : fields_) {
        if (f.id == id) return &f;
        for (const RadioChoice& c : f.choices) {
            if (c.id == id) return &f;
        }
    }
    return nullptr;
}

const PageField* COptionPage::field(int id) const { return const_cast<COptionPage*>(this)->field(id); }

namespace {

// The settings that hold a length, in the settings' unit (Unit): converted with it.
constexpr double CLaserSettings::*kLengthSettings[] = {
    &CLaserSettings::DiameterTool,          &CLaserSettings::LeadInSpan,
    &CLaserSettings::LeadOutSpan,           &CLaserSettings::StockPointOriginX,
    &CLaserSettings::StockPointOriginY,     &CLaserSettings::StockPointOriginZ,
    &CLaserSettings::ZoneMaxDistOffset,     &CLaserSettings::LoopLength,
    &CLaserSettings::LoopRadius,            &CLaserSettings::PowerLength1,
    &CLaserSettings::PowerLength2,          &CLaserSettings::BridgeWidth,
    &CLaserSettings::JamperLenOut,          &CLaserSettings::JamperLenIn,
    &CLaserSettings::JamperWidth,           &CLaserSettings::MarkingLineLength,
    &CLaserSettings::DistZAxisTrackingSensorON, &CLaserSettings::DistZAxisTrackingSensorOFF,
    &CLaserSettings::AutoDelSementMinSize,  &CLaserSettings::Thin,
    &CLaserSettings::UnloadWindowSizeX,     &CLaserSettings::UnloadWindowSizeY,
    &CLaserSettings::Nesing_Clamp1PozX,     &CLaserSettings::Nesing_ClampingDistance,
    &CLaserSettings::Nesing_ClampHeight,    &CLaserSettings::Nesing_ClampWidth,
};

bool IsLengthSetting(const SettingRef& ref) {
    if (ref.point) return true;
    return std::find(std::begin(kLengthSettings), std::end(kLengthSettings), ref.real) != std::end(kLengthSettings);
}

// The decimals of a "%.Nf" format; 3 for any other.
int DecimalsOf(const char* format) {
    const std::string_view f = format;
    const std::size_t point = f.find('.');
    if (point == std::string_view::npos || f.back() != 'f') return 3;
    const auto n = host::sys::parseInteger(f.substr(point + 1, f.size() - point - 2), 0, 9);
    return n.ok() ? static_cast<int>(n.value) : 3;
}

}  // namespace

PageField& COptionPage::addEdit(int id, SettingRef setting, std::string_view allowed) {
    PageField& f = fields_.emplace_back();
    f.kind = FieldKind::Edit;
    f.id = id;
    f.setting = setting;
    f.allowed = allowed;
    f.length = setting.real != nullptr ? IsLengthSetting(setting) : setting.point != nullptr;
    // The range the registry is read with: a value the page takes is one the next start reads back, not one it
    // tells and replaces.
    for (const SettingValue& value : SettingValues()) {
        const bool same = (setting.real != nullptr && value.real == setting.real) ||
                          (setting.integer != nullptr && value.integer == setting.integer) ||
                          (setting.byte != nullptr && value.byte == setting.byte) ||
                          (setting.point != nullptr && value.kind == SettingKind::PointHome);
        if (!same) continue;
        f.low = value.low;
        f.high = value.high;
        break;
    }
    return f;
}

void COptionPage::ConvertLengths(int from, int to, int loaded) {
    if (from == to) return;
    for (PageField& f : fields_) {
        if (!f.length || f.kind != FieldKind::Edit) continue;
        const bool untouched = f.text == f.loadedText || f.convertedOnly;
        if (to == loaded && untouched) {
            f.text = f.loadedText;
            f.convertedOnly = false;
            continue;
        }
        const std::optional<double> value = host::sys::fieldReal(f.text);
        if (!value) continue;
        // Inches need about two decimals more than millimetres for the same step.
        const int decimals = std::min(6, DecimalsOf(f.setting.format) + (to == 1 ? 2 : 0));
        const double converted = to == 1 ? *value / 25.4 : *value * 25.4;
        f.text = host::sys::formatFixed(converted, decimals);
        f.convertedOnly = untouched;
    }
    if (exists()) updateData(false);
}

PageField& COptionPage::addCheck(int id, SettingRef setting, int initial) {
    PageField& f = fields_.emplace_back();
    f.kind = FieldKind::Check;
    f.id = id;
    f.setting = setting;
    f.value = initial;
    f.loadedValue = initial;
    return f;
}

PageField& COptionPage::addRadio(std::vector<RadioChoice> choices, SettingRef setting) {
    PageField& f = fields_.emplace_back();
    f.kind = FieldKind::Radio;
    f.id = choices.front().id;
    f.choices = std::move(choices);
    f.setting = setting;
    f.value = -1;
    f.loadedValue = -1;
    return f;
}

PageField& COptionPage::addCombo(int id, SettingRef setting) {
    PageField& f = fields_.emplace_back();
    f.kind = FieldKind::Combo;
    f.id = id;
    f.setting = setting;
    return f;
}

void COptionPage::LoadSettings(const CLaserSettings& s) {
    for (PageField& f : fields_) {
        const SettingRef& ref = f.setting;
        if (!ref.isSet()) continue;
        switch (f.kind) {
            case FieldKind::Edit:
            case FieldKind::Combo:
                if (ref.text) {
                    f.text = s.*ref.text;
                } else if (ref.real || ref.point) {
                    f.text = host::sys::formatC(ref.format, SettingNumber(s, ref));
                } else {
                    f.text = host::sys::formatC("%i", static_cast<int>(SettingNumber(s, ref)));
                }
                break;
            case FieldKind::Check:
                f.value = SettingNumber(s, ref) != 0.0 ? 1 : 0;
                break;
            case FieldKind::Radio: {
                const int code = static_cast<int>(SettingNumber(s, ref));
                f.value = -1;
                for (std::size_t i = 0; i < f.choices.size(); ++i) {
                    if (f.choices[i].code == code) f.value = static_cast<int>(i);
                }
                break;
            }
        }
    }
    LoadExtra(s);
    for (PageField& f : fields_) {
        f.markLoaded();
        f.convertedOnly = false;
    }
    if (exists()) updateData(false);
}

void COptionPage::StoreSettings(CLaserSettings& s) {
    for (PageField& f : fields_) {
        const SettingRef& ref = f.setting;
        if (!ref.isSet() || !f.changed()) continue;
        switch (f.kind) {
            case FieldKind::Edit:
            case FieldKind::Combo:
                // A list shows nothing for a stored text that is none of its items; reading it back gives "",
                // which is no choice of the user's.
                if (f.kind == FieldKind::Combo && f.text.empty()) break;
                // A number field's text that is not one number stores nothing: the setting keeps its value.
                if (ref.text) {
                    if (!f.isNumber() || host::sys::fieldReal(f.text)) s.*ref.text = f.text;
                } else if (f.isWholeNumber()) {
                    if (const std::optional<int> value = host::sys::fieldInteger(f.text)) SetSettingNumber(s, ref, *value);
                } else if (f.kind == FieldKind::Combo) {
                    SetSettingNumber(s, ref, SettingTextToReal(f.text));
                } else if (const std::optional<double> value = host::sys::fieldReal(f.text)) {
                    SetSettingNumber(s, ref, *value);
                }
                break;
            case FieldKind::Check:
                SetSettingNumber(s, ref, f.value != 0 ? 1 : 0);
                break;
            case FieldKind::Radio:
                if (f.value >= 0 && f.value < static_cast<int>(f.choices.size())) {
                    SetSettingNumber(s, ref, f.choices[static_cast<std::size_t>(f.value)].code);
                }
                break;
        }
    }
    StoreExtra(s);
    for (PageField& f : fields_) {
        f.markLoaded();
        f.convertedOnly = false;
    }
}

void COptionPage::doDataExchange(host::ui::DataExchange& dx) {
    for (PageField& f : fields_) {
        switch (f.kind) {
            case FieldKind::Edit:
                dx.text(f.id, f.text);
                if (checkingNumbers_ && dx.saving() && !dx.failed() && f.isNumber() && f.changed()) {
                    std::optional<double> value;
                    if (!f.isWholeNumber()) {
                        value = host::sys::fieldReal(f.text);
                    } else if (const std::optional<int> whole = host::sys::fieldInteger(f.text)) {
                        value = *whole;
                    }
                    if (!value || *value < f.low || *value > f.high) {
                        const std::string typed = f.text;
                        f.text = f.loadedText;
                        if (host::ui::Window* w = item(f.id)) w->setText(f.text);
                        dx.refuse(value ? NumberNotInRangeMessage(typed, f.low, f.high, f.text)
                                        : NotANumberMessage(typed, f.text, f.isWholeNumber()));
                    }
                }
                break;
            case FieldKind::Check: dx.check(f.id, f.value); break;
            case FieldKind::Radio: dx.radio(f.id, f.value); break;
            case FieldKind::Combo: dx.comboText(f.id, f.text); break;
        }
    }
}

bool COptionPage::onKillActive() {
    checkingNumbers_ = true;
    const bool left = PropertyPage::onKillActive();
    checkingNumbers_ = false;
    return left;
}

bool COptionPage::onCommand(int id, int code, host::ui::Window* control) {
    if (onPageCommand(id, code)) return true;
    PageField* f = field(id);
    if (f == nullptr || !f->watched) return PropertyPage::onCommand(id, code, control);
    const bool isChange = (f->kind == FieldKind::Edit && code == host::ui::EN_CHANGE) ||
                          (f->kind == FieldKind::Check && code == host::ui::BN_CLICKED) ||
                          (f->kind == FieldKind::Radio && code == host::ui::BN_CLICKED) ||
                          (f->kind == FieldKind::Combo && code == host::ui::CBN_SELCHANGE);
    if (!isChange) return PropertyPage::onCommand(id, code, control);
    if (f->marksModified) setModified(true);
    if (f->kind == FieldKind::Edit) f->convertedOnly = false;  // typed by the user
    if (f->kind == FieldKind::Edit && !f->allowed.empty()) ValidateNumberField(*this, f->text, f->allowed);
    return true;
}

// [SECTION] PageLayout

namespace {

constexpr int kRowHeight = 16;
constexpr int kCaptionDrop = 14;

}  // namespace

PageLayout& PageLayout::group(const TwoLanguageText& text, int x, int y, int w, int id) {
    x_ = x;
    w_ = w;
    groupTop_ = y;
    groupRow_ = t_.items.size();
    t_.groupBox(Localized(text), {x, y, w, 20}, id);
    y_ = y + kCaptionDrop;
    return *this;
}

PageLayout& PageLayout::close(int extra) {
    t_.items[groupRow_].rect.height = y_ - groupTop_ + 4 + extra;
    y_ += 10 + extra;
    return *this;
}

PageLayout& PageLayout::labelEdit(const TwoLanguageText& text, int labelId, int editId, int editX, int editW) {
    t_.label(Localized(text), {x(), y_ + 2, editX - x() - 4, 8}, labelId);
    t_.edit(editId, {editX, y_, editW, 13}, host::ui::ES_AUTOHSCROLL);
    y_ += kRowHeight;
    return *this;
}

PageLayout& PageLayout::check(int id, const TwoLanguageText& text, int w) {
    t_.checkBox(id, Localized(text), {x(), y_, w > 0 ? w : width(), 10});
    y_ += kRowHeight - 2;
    return *this;
}

PageLayout& PageLayout::radios(std::initializer_list<std::pair<int, const TwoLanguageText*>> options, int w) {
    bool first = true;
    for (const auto& [id, text] : options) {
        t_.radio(id, Localized(*text), {x(), y_, w > 0 ? w : width(), 10}, first);
        first = false;
        y_ += kRowHeight - 3;
    }
    return *this;
}
