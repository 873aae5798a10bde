// The settings read from and written to the product's registry key.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cadlib/messages.h"
#include "cadlib/number_field_messages.h"
#include "host/reg/machine_registry.h"
#include "host/sys/message_text.h"
#include "host/sys/number_text.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/number_field_check.h"
#include "laser/settings/settings_text.h"
#include "laser/settings/settings_values.h"

namespace {

constexpr TwoLanguageText kWriteFailed{
    "\n\rThe settings could not be saved in the registry (%s: %s).",
    "\n\rНе удалось сохранить настройки в реестре (%s: %s)."};
constexpr TwoLanguageText kValueNotStorable{
    "\n\rThe settings could not be saved in the registry: the value \"%s\" holds a line break or a text that is "
    "not UTF-8.",
    "\n\rНе удалось сохранить настройки в реестре: значение \"%s\" содержит перевод строки или текст не в "
    "кодировке UTF-8."};

// A unit that is neither of the two stored texts: the value's name, the text read, what the setting takes instead.
constexpr TwoLanguageText kUnitNotKnown{
    "\n\rThe setting \"%s\" holds \"%s\", which is neither \"mm\" nor \"inc\": %s is used instead.",
    "\n\rНастройка \"%s\" содержит \"%s\" - это не \"mm\" и не \"inc\": вместо него взято %s."};

// The parent of the product key, created first as the key is created.
constexpr std::string_view kMakerKey = "SOFTWARE\\Kestrion";

// Stored texts of Unit and of the language value.
constexpr std::string_view kUnitMillimetres = "mm";
constexpr std::string_view kUnitInches = "inc";
constexpr std::string_view kLanguageEnglish = "EN";
constexpr std::string_view kLanguageRussian = "RU";
constexpr const char* kLanguageValue = "LangMenu";

// Ranges the reader holds the nesting and unloading values to.
constexpr int kMinNestingQuality = 3;
constexpr int kMaxNestingQuality = 9;
constexpr int kMaxClampQuantity = 5;
constexpr int kMaxUnloadOption = 3;

// The connect grid when the connect distance gives none: 10000 is the factor of a distance of 0.0001, the one the
// path code uses for point equality.
constexpr int kDefaultConnectGrid = 10000;

// Values of the nesting module's last run.
constexpr const char* kLastMaterialName = "LastNestingMaterial";
constexpr const char* kLastMaterialNumber = "LastNestingMaterial_Num";
constexpr const char* kLastMaterialThickness = "LastNestingMaterial_Thin";
constexpr const char* kLastMaterialDensity = "LastNestingMaterial_Density";
constexpr const char* kLastNestingFolder = "LastDirNestDWG";

// The product key when it exists; nothing when it (or its parent) is missing.
std::optional<host::reg::RegistryKey> OpenProductKey() {
    return host::reg::machineRegistry().openKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
}

// A value's text as the value buffer takes it: nothing when absent or too long for the buffer.
std::optional<std::string> ReadSettingText(const host::reg::RegistryKey& key, const char* name) {
    return FitSettingText(key.getString(name));
}

// Applies the rule of a value that is missing.
void ApplyMissingValue(CLaserSettings& settings, const SettingValue& value) {
    switch (value.missing) {
        case MissingRule::Keep:
            return;
        case MissingRule::ColorFeed:
            settings.*value.text = settings.ColorFeed;
            return;
        case MissingRule::Number:
            if (value.real != nullptr) settings.*value.real = value.fallback;
            if (value.integer != nullptr) settings.*value.integer = static_cast<int>(value.fallback);
            if (value.byte != nullptr) settings.*value.byte = static_cast<std::int8_t>(value.fallback);
            return;
    }
}

// Whether the home point's text is one to three numbers, each read whole, with one blank between them.
bool PointHomeTextIsNumbers(std::string_view text) {
    for (int piece = 0; piece < 3; ++piece) {
        const std::size_t blank = text.find(' ');
        if (!host::sys::fieldReal(text.substr(0, blank)) || text.substr(0, blank).empty()) return false;
        if (blank == std::string_view::npos) return true;
        text.remove_prefix(blank + 1);
    }
    return false;
}

bool InRange(const SettingValue& value, double number) { return number >= value.low && number <= value.high; }

std::string NumberText(double number) { return host::sys::formatC("%g", number); }

// Puts a value's text into its field. False, the field untouched, for a number out of the entry's range.
bool ApplyValueText(CLaserSettings& settings, const SettingValue& value, const std::string& text) {
    switch (value.kind) {
        case SettingKind::Text:
        case SettingKind::ReadOnlyText:
            settings.*value.text = text;
            return true;
        case SettingKind::Folder:
            settings.*value.text = WithFinalBackslash(text);
            return true;
        case SettingKind::Real: {
            // The whole text is the number: "inf", "nan", "6mm" and an empty text are none, and are told.
            const std::optional<double> number = host::sys::fieldReal(text);
            if (!number || !InRange(value, *number)) return false;
            settings.*value.real = *number;
            return true;
        }
        case SettingKind::Integer:
        case SettingKind::Byte: {
            // The whole text is the number, a whole one: "7.9", "1e3", "3OO" and an empty text are none.
            const std::optional<int> number = host::sys::fieldInteger(text);
            if (!number || !InRange(value, *number)) return false;
            if (value.kind == SettingKind::Integer) {
                settings.*value.integer = *number;
            } else {
                // The low byte: 255 is stored for -1.
                settings.*value.byte = static_cast<std::int8_t>(static_cast<std::uint8_t>(*number & 0xFF));
            }
            return true;
        }
        case SettingKind::PointHome: {
            // Each of the blank-separated numbers read whole: "inf 0 0" or "1,5 2 3" is no point.
            if (!PointHomeTextIsNumbers(text)) return false;
            const std::array<double, 3> point = SettingTextToPointHome(text);
            if (!std::all_of(point.begin(), point.end(), [&](double c) { return InRange(value, c); })) return false;
            settings.PointHome = point;
            return true;
        }
        case SettingKind::Unit:
            // Only the two texts the unit is written as: "MM", "" or "nan" taken as inches would turn every length
            // into inches without a word.
            if (text != kUnitMillimetres && text != kUnitInches) return false;
            settings.Unit = text == kUnitMillimetres ? 0 : 1;
            return true;
        case SettingKind::Language:
            SetLanguageFlag(text == kLanguageEnglish ? 0 : 1);
            return true;
    }
    return true;
}

// What the user is told of a number out of range: the value's name, the text read, the range, the stand-in.
struct RangeNote {
    const char* name;
    std::string text;
    double low = 0.0, high = 0.0;
    std::string standIn;
    bool whole = false;  // the bounds of an integer are written whole
    bool unit = false;   // a unit, which has two texts and no range
};

void TellOutOfRange(const RangeNote& note) {
    if (note.unit) {
        PrintLocalized(kUnitNotKnown, note.name, host::sys::quotedForMessage(note.text).c_str(), note.standIn.c_str());
        return;
    }
    const auto bound = [&](double b) { return note.whole ? host::sys::formatFixed(b, 0) : NumberText(b); };
    PrintLocalized(kSettingNotInRange, note.name, host::sys::quotedForMessage(note.text).c_str(), bound(note.low).c_str(),
                   bound(note.high).c_str(), note.standIn.c_str());
}

// A number read out of its range: the field takes the value's fallback where it has one, else its default
// (from `defaults`, made at the first need).
RangeNote ApplyOutOfRange(CLaserSettings& settings, const SettingValue& value, const std::string& text,
                          std::unique_ptr<CLaserSettings>& defaults) {
    if (!defaults) defaults = std::make_unique<CLaserSettings>(CLaserSettings::DefaultsOnly{});
    std::string standIn;
    const bool fallback = value.missing == MissingRule::Number;
    if (value.kind == SettingKind::Unit) {
        settings.Unit = defaults->Unit;
        return {value.name, text, 0.0, 0.0, std::string(settings.Unit == 0 ? kUnitMillimetres : kUnitInches), false,
                true};
    }
    if (value.kind == SettingKind::PointHome) {
        settings.PointHome = defaults->PointHome;
        standIn = PointHomeToSettingText(settings.PointHome);
    } else if (value.kind == SettingKind::Integer) {
        settings.*value.integer = fallback ? static_cast<int>(value.fallback) : (*defaults).*value.integer;
        return {value.name, text, value.low, value.high, host::sys::formatC("%i", settings.*value.integer), true};
    } else if (value.kind == SettingKind::Byte) {
        settings.*value.byte = fallback ? static_cast<std::int8_t>(value.fallback) : (*defaults).*value.byte;
        return {value.name, text, value.low, value.high,
                host::sys::formatC("%i", static_cast<int>(settings.*value.byte)), true};
    } else {
        settings.*value.real = value.missing == MissingRule::Number ? value.fallback : (*defaults).*value.real;
        standIn = NumberText(settings.*value.real);
    }
    return {value.name, text, value.low, value.high, standIn};
}

// The text a value is written as.
std::string FormatValueText(const CLaserSettings& settings, const SettingValue& value) {
    switch (value.kind) {
        case SettingKind::Text:
        case SettingKind::ReadOnlyText:
        case SettingKind::Folder:
            return settings.*value.text;
        case SettingKind::Real:
            return host::sys::formatC(value.format, settings.*value.real);
        case SettingKind::Integer:
            return host::sys::formatC("%i", settings.*value.integer);
        case SettingKind::Byte:
            return host::sys::formatC("%i", static_cast<int>(settings.*value.byte));
        case SettingKind::PointHome:
            return PointHomeToSettingText(settings.PointHome);
        case SettingKind::Unit:
            return std::string(settings.Unit == 0 ? kUnitMillimetres : kUnitInches);
        case SettingKind::Language:
            return std::string(LanguageFlag() == 0 ? kLanguageEnglish : kLanguageRussian);
    }
    return {};
}

// The point-equality factor of contour creation for a connect distance: (int)(1 / distance + 0.5). A distance
// of 0 or less gives the default factor; a factor is never below 1 (a distance over 2 would otherwise give 0 and
// every two points would count as one) nor beyond int.
int ConnectGridOf(double distance) {
    if (!(distance > 0.0)) return kDefaultConnectGrid;
    const double factor = std::floor(1.0 / distance + 0.5);
    if (factor >= static_cast<double>(INT_MAX)) return INT_MAX;
    return std::max(1, static_cast<int>(factor));
}

// The checks on the values just read.
void CheckReadValues(CLaserSettings& s) {
    if (s.Nesing_Quality < kMinNestingQuality || s.Nesing_Quality > kMaxNestingQuality) {
        s.Nesing_Quality = kMinNestingQuality;
    }
    s.Nesing_ClampQuantity = std::clamp(s.Nesing_ClampQuantity, 0, kMaxClampQuantity);
    if (s.Nesing_ClampUse == 0) s.Nesing_ClampQuantity = 0;
    if (s.Nesing_ClampCenterList != 0 && s.Nesing_ClampCenterList != 1) s.Nesing_ClampCenterList = 1;
    if (s.UnloadOption < 0 || s.UnloadOption > kMaxUnloadOption) s.UnloadOption = 0;
    // These nesting options are always on, whatever was stored.
    s.Nesting_Adv_UseCluster = 1;
    s.Nesting_Adv_UseHole = 1;
    s.Nesting_Rect_UsePair = 1;
    s.AutoConnectGrid = ConnectGridOf(s.AutoConnectDist);
}

// Tells the user that `name` could not be written. Answers -1.
int ReportWriteFailure(const std::string& name, host::reg::Status status) {
    if (status == host::reg::Status::InvalidArgument) {
        PrintLocalized(kValueNotStorable, name.c_str());
        return -1;
    }
    std::string detail = host::reg::statusText(status);
    const std::string problem = host::reg::machineRegistry().problem();
    if (!problem.empty()) detail += ", " + problem;
    PrintLocalized(kWriteFailed, name.c_str(), detail.c_str());
    return -1;
}

// Creates the product key with its parent. Ok when both exist afterwards.
host::reg::Status CreateProductKey() {
    host::reg::Registry& registry = host::reg::machineRegistry();
    const host::reg::Status parent = registry.createKey(host::reg::Hive::LocalMachine, kMakerKey);
    if (parent != host::reg::Status::Ok) return parent;
    return registry.createKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
}

}  // namespace

int CLaserSettings::ReadRegistrySettings() {
    FileHelp.clear();
    const auto key = OpenProductKey();
    if (!key) {
        // A first start: the key is made with the values in hand.
        WriteRegistrySettings();
        return 0;
    }
    std::unique_ptr<CLaserSettings> defaults;
    std::vector<RangeNote> notes;
    for (const SettingValue& value : SettingValues()) {
        if (const auto text = ReadSettingText(*key, value.name)) {
            if (!ApplyValueText(*this, value, *text)) notes.push_back(ApplyOutOfRange(*this, value, *text, defaults));
        } else {
            ApplyMissingValue(*this, value);
        }
    }
    CheckReadValues(*this);
    // Told once everything is read, in the language just read.
    for (const RangeNote& note : notes) TellOutOfRange(note);
    return 0;
}

int CLaserSettings::WriteRegistrySettings() {
    host::reg::Registry& registry = host::reg::machineRegistry();
    // One write of the file for all values. A value the store cannot hold is reported and the others are still
    // written; a file that cannot be written is left as it was.
    host::reg::Registry::Batch batch(registry);
    host::reg::Status status = CreateProductKey();
    std::string failedName(host::reg::kProductKey);
    // Without clamps there is no clamp count to keep.
    const int clampQuantity = Nesing_ClampUse == 0 ? 0 : Nesing_ClampQuantity;
    if (status == host::reg::Status::Ok) {
        host::reg::RegistryKey key = host::reg::productKey();
        for (const SettingValue& value : SettingValues()) {
            if (!IsWrittenSetting(value)) continue;
            const std::string text = value.integer == &CLaserSettings::Nesing_ClampQuantity
                                         ? host::sys::formatC("%i", clampQuantity)
                                         : FormatValueText(*this, value);
            const host::reg::Status written = key.setString(value.name, text);
            if (written != host::reg::Status::Ok && status == host::reg::Status::Ok) {
                status = written;
                failedName = value.name;
            }
        }
    }
    const host::reg::Status committed = batch.commit();
    if (status == host::reg::Status::Ok && committed != host::reg::Status::Ok) status = committed;
    if (status != host::reg::Status::Ok) return ReportWriteFailure(failedName, status);
    Nesing_ClampQuantity = clampQuantity;
    return 0;
}

int CLaserSettings::WriteLanguageSetting() {
    host::reg::Status status = CreateProductKey();
    if (status == host::reg::Status::Ok) {
        status = host::reg::productKey().setString(
            kLanguageValue, LanguageFlag() == 0 ? kLanguageEnglish : kLanguageRussian);
    }
    if (status != host::reg::Status::Ok) return ReportWriteFailure(kLanguageValue, status);
    return 0;
}

int CLaserSettings::ReadLastNestingMaterial(std::string& name, std::string& number, double& density,
                                            double& thickness) {
    const auto key = OpenProductKey();
    if (!key) {
        WriteRegistrySettings();
        return 0;
    }
    // The destinations are the current slot's material fields: a longer text is cut as the slot cuts it.
    if (const auto text = ReadSettingText(*key, kLastMaterialName)) SetSlotText(name, *text, kSlotMaterialNameChars);
    if (const auto text = ReadSettingText(*key, kLastMaterialNumber)) {
        SetSlotText(number, *text, kSlotMaterialNumberChars);
    }
    // A number out of range leaves its destination as it was, as an absent value does, and the user is told.
    const SettingValue materialNumber{.name = nullptr, .kind = SettingKind::Real};
    for (const auto& [name, destination] : {std::pair{kLastMaterialThickness, &thickness},
                                            std::pair{kLastMaterialDensity, &density}}) {
        const auto text = ReadSettingText(*key, name);
        if (!text) continue;
        const std::optional<double> number = host::sys::fieldReal(*text);
        if (number && InRange(materialNumber, *number)) {
            *destination = *number;
        } else {
            TellOutOfRange({name, *text, materialNumber.low, materialNumber.high, NumberText(*destination)});
        }
    }
    return 0;
}

int CLaserSettings::ReadLastNestingFolder() {
    const auto key = OpenProductKey();
    if (!key) {
        WriteRegistrySettings();
        return 0;
    }
    if (const auto text = ReadSettingText(*key, kLastNestingFolder)) LastDirNestDWG = *text;
    return 0;
}
