// The cutting-path module's settings: every value its commands read, kept in the product's registry key.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

struct DrawingSlot;

// Most slots the module keeps at once (one per open drawing).
inline constexpr int kMaxDrawingSlots = 120;

// The one settings object of the module. Fields that a registry value backs bear that value's name; colours are
// ACI numbers kept as decimal texts, line types are line-type names.
class CLaserSettings {
public:
    // Every field takes its default, then the registry is read (a missing key is created with the defaults).
    CLaserSettings();
    // Every field with its default and nothing read: the stand-ins of the reader for values out of range.
    struct DefaultsOnly {};
    explicit CLaserSettings(DefaultsOnly);
    // Frees every drawing slot still in the table.
    ~CLaserSettings();
    CLaserSettings(const CLaserSettings&) = delete;
    CLaserSettings& operator=(const CLaserSettings&) = delete;

    // Reads every setting from the product key. A value that is absent or longer than 149 characters leaves its
    // field as it is or gives the field its fallback. When the key is missing it is written with the values in
    // hand and nothing is read. Answers 0.
    int ReadRegistrySettings();
    // Writes every stored setting to the product key (Nesing_ClampQuantity as 0 without clamps, and so it becomes
    // 0 in memory too). Answers 0; on a failed write the failure is printed on the command line, the answer is
    // -1 and the fields stay as they are.
    int WriteRegistrySettings();
    // Writes the language value alone ("EN" or "RU" by LanguageFlag()). Answers 0; -1 on a failed write, which
    // is printed on the command line.
    int WriteLanguageSetting();
    // Reads the material of the last nesting run into the current slot's material fields; each destination
    // changes only when its value is present, and the texts are cut to what a slot holds. Answers 0.
    int ReadLastNestingMaterial(std::string& name, std::string& number, double& density, double& thickness);
    // Reads the folder of the last nesting drawings into LastDirNestDWG when present. Answers 0.
    int ReadLastNestingFolder();

    std::string FileHelp;
    std::string FileTutorial;
    std::string TypeLineMove = "HIDDEN";
    std::string TypeLineFeed = "Continuous";
    std::string TypeLineSensorOff = "ZAxisTrackingSensorOFF";
    std::string TypeLineStock = "PHANTOM";
    std::string TypeNoCloseLine = "PHANTOM";
    std::string TypeEngraveLine = "Continuous";
    std::string TypeEngraveAndMarkLine = "Continuous";
    std::string TypeMarkLine = "Continuous";
    std::string TypeCommonLine = "HIDDEN";
    std::string TypeInsideCutLine = "HIDDEN";
    std::string TypeJumperLine = "JumperLine";
    double ScaleLineFeed = 2.0;
    std::string ColorMove = "3";
    std::string ColorFeed = "1";
    std::string ColorSensorOff = "200";
    std::string ColorFeed_G40 = "1";
    std::string ColorFeed_G41 = "1";
    std::string ColorFeed_G42 = "1";
    std::string ColorProfInside = "252";
    std::string ColorProfOutside = "170";
    std::string ColorProfT2Inside = "110";
    std::string ColorProfT2Outside = "102";
    std::string ColorProfUnclose = "1";
    std::string ColorProfInsideNL = "70";
    std::string ColorProfOutsideNL = "92";
    std::string ColorStock = "11";
    std::string ColorNoCloseLine = "210";
    std::string ColorEngraveLine = "32";
    std::string ColorEngraveAndMarkLine = "11";
    std::string ColorMarkLine = "31";
    std::string ColorHeatTreatmentLine = "30";
    std::string ColorCommonLine = "40";
    std::string ColorInsideCutLine = "190";
    std::string ColorJumperLineOutside = "132";
    std::string ColorJumperLineInside = "120";
    std::string ColorMarkPoint = "6";
    std::string ColorClamp = "12";
    std::string ColorTrimLine = "140";
    std::string ColorMarkingText = "5";
    std::string ColorHoleDrill = "5";
    std::string ColorPunch = "5";
    std::string PDMODE = "35";
    std::string PDSIZE = "7";
    int DrawingSlotCount = 0;
    int CurrentDrawingSlot = 0;
    int SavedSaveTime = 0;
    std::array<std::unique_ptr<DrawingSlot>, kMaxDrawingSlots> DrawingSlots;
    std::array<double, 3> PointHome = {0.0, 0.0, 0.0};
    int ModeStartPoint = 1;
    int ModeEndPoint = 1;
    int CutLineDirection = 0;
    int CutEngraveType = 0;
    int ModeUseJumperInStartPoint = 0;
    int ModeCutInnerContoursFirst = 0;
    int ModeCheckGeom = 1;
    double Angle = 30.0;
    int Unit = 0;  // 0 millimetres, 1 inches
    std::string Material = "STEEL.MAT";
    std::string Material_Num = "1";
    std::string DirInstall;
    std::string DirMaterial;
    std::string TypeMachine = "Laser";
    std::string Postprocessor = "FANUC.MXT";
    std::string DirPostprocessor;
    std::string LastDirNestDWG;
    double FeedCut = 300.0;
    double FeedCutT2 = 320.0;
    double EngraveCut = 800.0;
    double EngraveAndMarkCut = 750.0;
    double MarkCut = 700.0;
    double HeatTreatmentCut = 400.0;
    double FeedRapid = 2000.0;
    double TimeLaserOnOff = 0.1;
    double BridgeWidth = 1.0;
    double JamperLenOut = 0.5;
    double JamperLenIn = 6.0;
    double JamperWidth = 1.0;
    int UseJamper = 1;
    int UseMarkPoint = 1;
    double DistZAxisTrackingSensorON = 15.0;
    double DistZAxisTrackingSensorOFF = 12.0;
    double DiameterTool = 0.2;
    double LeadInSpan = 6.0;
    double LeadOutSpan = 3.0;
    std::int8_t ZahodTypePoint = 2;
    double StockPointOriginX = 0.0;
    double StockPointOriginY = 0.0;
    double StockPointOriginZ = 0.0;
    std::int8_t UnloadZahodType = 0;
    std::int8_t UnloadZahod_CurentCutWinZona = 0;
    double Zone1PointX = -200000.0;
    double Zone1PointY = 3000.0;
    double Zone1PointZ = 0.0;
    double Zone2PointX = 0.0;
    double Zone2PointY = 200000.0;
    double Zone2PointZ = 0.0;
    double Zone3PointX = 200000.0;
    double Zone3PointY = 3000.0;
    double Zone3PointZ = 0.0;
    double Zone4PointX = 0.0;
    double Zone4PointY = 200000.0;
    double Zone4PointZ = 0.0;
    double ZoneMaxDistOffset = 100.0;
    std::int8_t AutoDelSementStatus = 1;
    double AutoDelSementMinSize = 0.1;
    double AutoDelSementMinChord = 0.05;
    double Thin = 1.0;
    double Density = 7.85e-06;
    double MarkingLineLength = 0.02;
    int AutoDelCopy = 1;
    int AutoConnect = 1;
    double AutoConnectDist = 0.0001;
    int AutoConnectGrid = 10000;  // (int)(1 / AutoConnectDist + 0.5), the point-equality factor
    int WarnUnclose = 1;
    int Warn3Point = 1;
    int CheckIntersect = 1;
    int AutoCorrectLeadin = 1;
    int Nesting_Adv_UseCluster = 1;
    int Nesting_Adv_UseHole = 1;
    int Nesting_Adv_Pressing = 0;
    int Nesting_Adv_TypeDeltaAngle = 1;
    int Nesting_Adv_DeltaAngle = 90;
    int Nesting_Rect_UsePair = 1;
    int Nesing_Quality = 2;
    double CheckZoomScale = 2.0;
    int Nesing_ClampUse = 0;
    int Nesing_ClampQuantity = 0;
    double Nesing_Clamp1PozX = 400.0;
    double Nesing_ClampingDistance = 1110.0;
    double Nesing_ClampHeight = 110.0;
    double Nesing_ClampWidth = 320.0;
    int Nesing_ClampCenterList = 1;
    int TrimLineUse = 1;
    int UseLoop = 0;
    double LoopAngle = 100.0;
    double LoopLength = 6.0;
    double LoopRadius = 0.0;
    int UsePower = 0;
    double PowerAngle1 = 100.0;
    double PowerLength1 = 6.0;
    double PowerPower1 = 90.0;
    double PowerAngle2 = 40.0;
    double PowerLength2 = 6.0;
    double PowerPower2 = 80.0;
    int PiercingMode = 0;
    int UnloadOption = 0;
    int UnloadJump = 1;
    double UnloadWindowSizeX = 0.0;
    double UnloadWindowSizeY = 0.0;
    int NextJobId = 110;
};

// The module's language: 0 English, 1 Russian (0 until the registry is read).
int LanguageFlag();
// Sets the module's language; the library's texts (Localized) follow it.
void SetLanguageFlag(int flag);

// The module's one settings object, made (and read from the registry) at first use.
CLaserSettings& LaserSettings();
// Destroys the settings object (module unload); the next LaserSettings() makes a new one.
void DestroyLaserSettings();
