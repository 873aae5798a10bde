// The table of registry values behind the settings: one entry per value, walked by the reader and the writer.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "laser/settings/laser_settings.h"

// How a value is held in the registry and in its field.
enum class SettingKind {
    Text,          // the field's own text
    ReadOnlyText,  // the field's own text, read but never written
    Folder,        // a folder text; after reading it ends in '\'
    Real,          // a double, written with the entry's printf format
    Integer,       // an int, written "%i"
    Byte,          // an int8_t: the low byte of the integer read, written "%i"
    PointHome,     // PointHome: three numbers, written "%f %f %f"
    Unit,          // Unit: "mm" is 0, any other text 1; written "mm" or "inc"
    Language,      // the module's language flag: "EN" is 0, any other text 1; written "EN" or "RU"
};

// What a value that is absent (or too long for the buffer) does to its field.
enum class MissingRule {
    Keep,       // the field keeps what it holds
    Number,     // the field takes the entry's fallback number
    ColorFeed,  // the field takes the text of ColorFeed (read before it)
};

// The bound of every number setting: a kilometre in millimetres, beyond any sheet, machine or feed, and far
// enough from double's range that squares and sums of lengths stay finite. A lead-in span of 1e308 once gave
// "G00 X-inf Y-inf" in an NC program.
inline constexpr double kMaxSettingNumber = 1.0e6;
// Angles are degrees of a turn.
inline constexpr double kMaxSettingAngle = 360.0;

// One registry value. Exactly the member of the entry's kind is set (none for PointHome, Unit and Language).
struct SettingValue {
    const char* name;
    SettingKind kind;
    std::string CLaserSettings::*text = nullptr;
    double CLaserSettings::*real = nullptr;
    int CLaserSettings::*integer = nullptr;
    std::int8_t CLaserSettings::*byte = nullptr;
    const char* format = nullptr;  // printf format of a Real; a literal of the table
    MissingRule missing = MissingRule::Keep;
    double fallback = 0.0;         // for MissingRule::Number
    // The range of a Real, an Integer or a Byte (and of each coordinate of PointHome), bounds included. A value
    // read outside it, or one whose whole text is not one number (a whole one for an Integer or a Byte), takes the
    // fallback of MissingRule::Number, else the field's default, and the user is told.
    double low = 0.0;
    double high = kMaxSettingNumber;
};

// Every value the settings read, in reading order: ColorFeed comes before the three colours that fall back to
// it, and Nesing_ClampUse before Nesing_ClampQuantity, which depends on it.
std::span<const SettingValue> SettingValues();

// True for the values that WriteRegistrySettings writes (all but the read-only texts).
inline bool IsWrittenSetting(const SettingValue& value) { return value.kind != SettingKind::ReadOnlyText; }
