// The table of registry values behind the settings: one entry per value, walked by the reader and the writer.
#include "laser/settings/settings_values.h"

#include <climits>
#include <cstdint>

#include <array>

namespace {

using S = CLaserSettings;

constexpr SettingValue Text(const char* name, std::string S::*field) {
    return {.name = name, .kind = SettingKind::Text, .text = field};
}
constexpr SettingValue TextOrColorFeed(const char* name, std::string S::*field) {
    return {.name = name, .kind = SettingKind::Text, .text = field, .missing = MissingRule::ColorFeed};
}
constexpr SettingValue ReadOnly(const char* name, std::string S::*field) {
    return {.name = name, .kind = SettingKind::ReadOnlyText, .text = field};
}
constexpr SettingValue Folder(const char* name, std::string S::*field) {
    return {.name = name, .kind = SettingKind::Folder, .text = field};
}
constexpr SettingValue Real(const char* name, double S::*field, const char* format) {
    return {.name = name, .kind = SettingKind::Real, .real = field, .format = format};
}
constexpr SettingValue Angle(const char* name, double S::*field, const char* format) {
    return {.name = name, .kind = SettingKind::Real, .real = field, .format = format, .high = kMaxSettingAngle};
}
constexpr SettingValue RealOr(const char* name, double S::*field, const char* format, double fallback) {
    return {.name = name,
            .kind = SettingKind::Real,
            .real = field,
            .format = format,
            .missing = MissingRule::Number,
            .fallback = fallback};
}
// A coordinate may lie on either side of the origin.
constexpr SettingValue CoordinateOr(const char* name, double S::*field, const char* format, double fallback) {
    SettingValue value = RealOr(name, field, format, fallback);
    value.low = -kMaxSettingNumber;
    return value;
}
// An integer setting takes any whole number an int holds; a one-byte one any that fits a byte, signed or not.
constexpr SettingValue Integer(const char* name, int S::*field) {
    return {.name = name, .kind = SettingKind::Integer, .integer = field, .low = INT_MIN, .high = INT_MAX};
}
constexpr SettingValue IntegerOr(const char* name, int S::*field, int fallback) {
    return {.name = name,
            .kind = SettingKind::Integer,
            .integer = field,
            .missing = MissingRule::Number,
            .fallback = static_cast<double>(fallback),
            .low = INT_MIN,
            .high = INT_MAX};
}
constexpr SettingValue Byte(const char* name, std::int8_t S::*field) {
    return {.name = name, .kind = SettingKind::Byte, .byte = field, .low = INT8_MIN, .high = UINT8_MAX};
}
constexpr SettingValue Special(const char* name, SettingKind kind) { return {.name = name, .kind = kind}; }
constexpr SettingValue HomePoint(const char* name) {
    return {.name = name, .kind = SettingKind::PointHome, .low = -kMaxSettingNumber};
}

// The value's name is the field's name.
#define KS_SETTING(field) #field, &S::field

// Fallbacks of the zone points: the defaults of the fields.
constexpr double kZoneFar = 200000.0;
constexpr double kZoneSide = 3000.0;

constexpr std::array kSettingValues = {
    ReadOnly(KS_SETTING(FileHelp)),
    ReadOnly(KS_SETTING(FileTutorial)),
    Text(KS_SETTING(TypeLineMove)),
    Text(KS_SETTING(TypeLineFeed)),
    Text(KS_SETTING(TypeLineStock)),
    Text(KS_SETTING(TypeNoCloseLine)),
    Text(KS_SETTING(TypeEngraveLine)),
    Text(KS_SETTING(TypeEngraveAndMarkLine)),
    Text(KS_SETTING(TypeMarkLine)),
    Text(KS_SETTING(TypeCommonLine)),
    Text(KS_SETTING(TypeInsideCutLine)),
    Text(KS_SETTING(TypeJumperLine)),
    Real(KS_SETTING(ScaleLineFeed), "%f"),
    Text(KS_SETTING(ColorMove)),
    Text(KS_SETTING(ColorFeed)),
    TextOrColorFeed(KS_SETTING(ColorFeed_G40)),
    TextOrColorFeed(KS_SETTING(ColorFeed_G41)),
    TextOrColorFeed(KS_SETTING(ColorFeed_G42)),
    Text(KS_SETTING(ColorProfInside)),
    Text(KS_SETTING(ColorProfOutside)),
    Text(KS_SETTING(ColorProfT2Inside)),
    Text(KS_SETTING(ColorProfT2Outside)),
    Text(KS_SETTING(ColorProfUnclose)),
    Text(KS_SETTING(ColorProfInsideNL)),
    Text(KS_SETTING(ColorProfOutsideNL)),
    Text(KS_SETTING(ColorStock)),
    Text(KS_SETTING(ColorNoCloseLine)),
    Text(KS_SETTING(ColorEngraveLine)),
    Text(KS_SETTING(ColorEngraveAndMarkLine)),
    Text(KS_SETTING(ColorMarkLine)),
    Text(KS_SETTING(ColorHeatTreatmentLine)),
    Text(KS_SETTING(ColorCommonLine)),
    Text(KS_SETTING(ColorInsideCutLine)),
    Text(KS_SETTING(ColorJumperLineOutside)),
    Text(KS_SETTING(ColorJumperLineInside)),
    Text(KS_SETTING(ColorMarkPoint)),
    Text(KS_SETTING(PDMODE)),
    Text(KS_SETTING(PDSIZE)),
    HomePoint("PointHome"),
    Integer(KS_SETTING(ModeStartPoint)),
    Integer(KS_SETTING(ModeEndPoint)),
    Integer(KS_SETTING(CutLineDirection)),
    Integer(KS_SETTING(CutEngraveType)),
    Integer(KS_SETTING(ModeUseJumperInStartPoint)),
    Integer(KS_SETTING(ModeCutInnerContoursFirst)),
    Integer(KS_SETTING(ModeCheckGeom)),
    Angle(KS_SETTING(Angle), "%f"),
    Special("Unit", SettingKind::Unit),
    Special("LangMenu", SettingKind::Language),
    Text(KS_SETTING(Material)),
    Text(KS_SETTING(Material_Num)),
    ReadOnly(KS_SETTING(DirInstall)),
    Folder(KS_SETTING(DirMaterial)),
    Text(KS_SETTING(TypeMachine)),
    Text(KS_SETTING(Postprocessor)),
    Folder(KS_SETTING(DirPostprocessor)),
    Real(KS_SETTING(FeedCut), "%f"),
    Real(KS_SETTING(FeedCutT2), "%f"),
    Real(KS_SETTING(EngraveCut), "%f"),
    Real(KS_SETTING(EngraveAndMarkCut), "%f"),
    Real(KS_SETTING(MarkCut), "%f"),
    Real(KS_SETTING(HeatTreatmentCut), "%f"),
    Real(KS_SETTING(FeedRapid), "%f"),
    Real(KS_SETTING(TimeLaserOnOff), "%f"),
    Real(KS_SETTING(BridgeWidth), "%f"),
    Real(KS_SETTING(JamperLenOut), "%f"),
    Real(KS_SETTING(JamperLenIn), "%f"),
    Real(KS_SETTING(JamperWidth), "%f"),
    Integer(KS_SETTING(UseJamper)),
    Integer(KS_SETTING(UseMarkPoint)),
    Real(KS_SETTING(DistZAxisTrackingSensorON), "%f"),
    Real(KS_SETTING(DistZAxisTrackingSensorOFF), "%f"),
    Real(KS_SETTING(DiameterTool), "%f"),
    Real(KS_SETTING(LeadInSpan), "%f"),
    Real(KS_SETTING(LeadOutSpan), "%f"),
    Byte(KS_SETTING(ZahodTypePoint)),
    CoordinateOr(KS_SETTING(StockPointOriginX), "%f", 0.0),
    CoordinateOr(KS_SETTING(StockPointOriginY), "%f", 0.0),
    CoordinateOr(KS_SETTING(StockPointOriginZ), "%f", 0.0),
    Byte(KS_SETTING(UnloadZahodType)),
    Byte(KS_SETTING(UnloadZahod_CurentCutWinZona)),
    CoordinateOr(KS_SETTING(Zone1PointX), "%f", -kZoneFar),
    CoordinateOr(KS_SETTING(Zone1PointY), "%f", kZoneSide),
    CoordinateOr(KS_SETTING(Zone1PointZ), "%f", 0.0),
    CoordinateOr(KS_SETTING(Zone2PointX), "%f", 0.0),
    CoordinateOr(KS_SETTING(Zone2PointY), "%f", kZoneFar),
    CoordinateOr(KS_SETTING(Zone2PointZ), "%f", 0.0),
    CoordinateOr(KS_SETTING(Zone3PointX), "%f", kZoneFar),
    CoordinateOr(KS_SETTING(Zone3PointY), "%f", kZoneSide),
    CoordinateOr(KS_SETTING(Zone3PointZ), "%f", 0.0),
    CoordinateOr(KS_SETTING(Zone4PointX), "%f", 0.0),
    CoordinateOr(KS_SETTING(Zone4PointY), "%f", kZoneFar),
    CoordinateOr(KS_SETTING(Zone4PointZ), "%f", 0.0),
    RealOr(KS_SETTING(ZoneMaxDistOffset), "%f", 100.0),
    Byte(KS_SETTING(AutoDelSementStatus)),
    Real(KS_SETTING(AutoDelSementMinSize), "%.4f"),
    Real(KS_SETTING(AutoDelSementMinChord), "%.4f"),
    Real(KS_SETTING(Thin), "%f"),
    Real(KS_SETTING(Density), "%e"),
    Real(KS_SETTING(MarkingLineLength), "%6.4f"),
    Integer(KS_SETTING(AutoDelCopy)),
    Integer(KS_SETTING(AutoConnect)),
    Real(KS_SETTING(AutoConnectDist), "%.10f"),
    Integer(KS_SETTING(WarnUnclose)),
    Integer(KS_SETTING(Warn3Point)),
    Integer(KS_SETTING(CheckIntersect)),
    Integer(KS_SETTING(AutoCorrectLeadin)),
    Integer(KS_SETTING(Nesting_Adv_UseCluster)),
    Integer(KS_SETTING(Nesting_Adv_UseHole)),
    IntegerOr(KS_SETTING(Nesting_Adv_Pressing), 0),
    IntegerOr(KS_SETTING(Nesting_Adv_TypeDeltaAngle), 1),
    IntegerOr(KS_SETTING(Nesting_Adv_DeltaAngle), 90),
    Integer(KS_SETTING(Nesting_Rect_UsePair)),
    IntegerOr(KS_SETTING(Nesing_Quality), 3),
    IntegerOr(KS_SETTING(Nesing_ClampUse), 0),
    IntegerOr(KS_SETTING(Nesing_ClampQuantity), 0),
    Real(KS_SETTING(Nesing_Clamp1PozX), "%f"),
    Real(KS_SETTING(Nesing_ClampingDistance), "%f"),
    Real(KS_SETTING(Nesing_ClampHeight), "%f"),
    Real(KS_SETTING(Nesing_ClampWidth), "%f"),
    IntegerOr(KS_SETTING(Nesing_ClampCenterList), 1),
    IntegerOr(KS_SETTING(TrimLineUse), 1),
    Integer(KS_SETTING(UseLoop)),
    Angle(KS_SETTING(LoopAngle), "%.4f"),
    Real(KS_SETTING(LoopLength), "%.4f"),
    Real(KS_SETTING(LoopRadius), "%.4f"),
    Integer(KS_SETTING(UsePower)),
    Angle(KS_SETTING(PowerAngle1), "%.4f"),
    Real(KS_SETTING(PowerLength1), "%.4f"),
    Real(KS_SETTING(PowerPower1), "%.4f"),
    Angle(KS_SETTING(PowerAngle2), "%.4f"),
    Real(KS_SETTING(PowerLength2), "%.4f"),
    Real(KS_SETTING(PowerPower2), "%.4f"),
    Integer(KS_SETTING(PiercingMode)),
    IntegerOr(KS_SETTING(UnloadOption), 0),
    IntegerOr(KS_SETTING(UnloadJump), 1),
    RealOr(KS_SETTING(UnloadWindowSizeX), "%f", 0.0),
    RealOr(KS_SETTING(UnloadWindowSizeY), "%f", 0.0),
};

#undef KS_SETTING

}  // namespace

std::span<const SettingValue> SettingValues() { return kSettingValues; }
