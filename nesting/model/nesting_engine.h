// The nesting engine: the whole of a nesting job (options, types, instances), the work area of the placement and
// the tables that steer and undo it. The module's state object derives from it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cadlib/numbers.h"
#include "host/ge/point.h"
#include "nesting/model/best_layout.h"
#include "nesting/model/contour.h"
#include "nesting/model/model_limits.h"
#include "nesting/model/part_instance.h"
#include "nesting/model/part_type.h"
#include "nesting/model/placed_index.h"
#include "nesting/model/pose_snapshot.h"

// CNestingEngine::Unit holds the library's unit codes, kUnitMillimetres and kUnitInches.

// Codes of CNestingEngine::PlacementMode.
inline constexpr std::uint8_t kPlacementMain = 0;
inline constexpr std::uint8_t kPlacementHoles = 1;
inline constexpr std::uint8_t kPlacementAround = 2;

// Columns of a QualityTable row.
inline constexpr int kQualityStartAttempts = 0;  // N: attempt limit of the start positions
inline constexpr int kQualityVariantGroups = 8;  // number of variant groups

// LastTypeIndex at the start of a pass.
inline constexpr std::int32_t kNoLastType = -9999;

using QualityRow = std::array<std::int32_t, kQualityColumnCount>;

class CNestingEngine {
public:
    // Every field takes its start value, the quality table is built and the last job path is read from the
    // product's registry key (empty when absent).
    CNestingEngine();
    ~CNestingEngine();
    CNestingEngine(const CNestingEngine&) = delete;
    CNestingEngine& operator=(const CNestingEngine&) = delete;

    // Reads the nesting options and the clamp settings from the product's registry key; a missing key or value
    // gives the option's default. Answers 0.
    int LoadNestingOptions();

    // Sets SearchStep and CoarseStep for the Unit in force (0.1 and 3.0 for millimetres, 0.004 and 0.12 for
    // inches).
    void SetStepsForUnit();

    // Builds the quality table's ten rows: N and the variant group count given per row, the other columns
    // computed from N.
    static std::array<QualityRow, kQualityLevelCount> BuildQualityTable();

    // Keeps the material texts within their limits (longer texts are cut at a character boundary).
    void SetMaterialName(const std::string& name);
    void SetMaterialNumber(const std::string& number);

    // Checks the job against the engine's limits: at most kMaxPartInstances part instances (clamps included)
    // and at most kMaxClamps clamps per sheet. False, with the limit's message on the command line, when the
    // job exceeds one; the job must then not be run.
    bool CheckJobLimits() const;

    // Adds a part instance to PlacedParts. False, with the limit's message, when the sheet already carries
    // kMaxPlacedParts parts and clamps; nothing is written then.
    bool AppendPlacedPart(std::int32_t instance);

    // Group and pose operations of the placement.

    // Loads group 0 from the templates of the instance at position j of PartOrder (a pair when wantPair is 2 and
    // an unplaced partner of the same type follows) and copies it into the variant groups. Answers the member
    // count (1 or 2).
    int LoadGroupTemplate(int j, int wantPair);
    // Poses group g at (position, angle) with the members' outer contours; the box becomes their union.
    void SetGroupPose(int g, host::ge::Point2d position, double angle);
    // Poses group g at (position, angle) with all contours of every member; the box is not touched.
    void ApplyGroupPose(int g, host::ge::Point2d position, double angle);
    // Moves group g (position, box and members) so that its position becomes (x, y).
    void MoveGroupTo(int g, double x, double y);
    // Moves group g (position, box and members) by (dx, dy).
    void TranslateGroup(int g, double dx, double dy);
    // Copies part instance i's trial pose into its committed pose and marks it placed on CurrentStock.
    void CommitPartPose(int i);
    // Saves the poses of the first `count` part instances that lie on CurrentStock.
    void SavePoseSnapshot(std::vector<PartInstance>& instances, int count);
    // Gives the instances saved for `stock` their saved poses back (parallel over the instances).
    void RestorePoseSnapshot(std::vector<PartInstance>& instances, int count, int stock);

    // Fields, in the order of the engine's record.

    // Pose buffer of the placement, one entry per part instance (kPoseSnapshotCapacity entries).
    std::vector<PoseSnapshot> PoseSnapshots;
    // Tie-break rule of the pass comparison, 0 to 3.
    std::int32_t NestingOptimizationOption = 0;
    // Origin of rectangle stocks.
    host::ge::Point3d StockPointOrigin;
    // 1 = clamps are placed on every sheet.
    std::int32_t ClampUse = 0;
    // Clamps per sheet, 0 to kMaxClamps; 0 whenever ClampUse is not 1.
    std::int32_t ClampQuantity = 0;
    // 1 = the row of clamps is centred on the sheet width; 0 = it starts at Clamp1PozX.
    std::int32_t ClampCenterList = 0;
    double Clamp1PozX = 0.0;
    double Clamp1PozMinX = 0.0;
    double ClampingDistance = 0.0;
    double ClampWidth = 0.0;
    double ClampHeight = 0.0;
    // Previous and current random draws (0 to 32767) for random start positions.
    std::int32_t RandomLastX = 0;
    std::int32_t RandomX = 0;
    std::int32_t RandomLastY = 0;
    std::int32_t RandomY = 0;
    // Least distance between two successive draws.
    std::int32_t RandomMinStep = 1368;
    std::int32_t RandomGap = 0;
    // At most kMaterialNameMaxChars and kMaterialNumberMaxChars characters (UTF-8).
    std::string MaterialName;
    std::string MaterialNumber;
    double MaterialDensity = 1.0;
    double MaterialThickness = 1.0;
    // Asked before every placement of a run: true stops the run there (the user's break at the terminal), and
    // what is placed stays. Unset: a run is never stopped.
    std::function<bool()> StopRequested;
    // Set once StopRequested has stopped the run; cleared when a run starts.
    bool RunStopped = false;
    // Where the pass traces of a run go, one line each. Unset: they are dropped; they are never the user's.
    std::function<void(const std::string&)> PassTrace;
    // Half the part gap, by which the loader offsets the contours; 0 during a run.
    double HalfPartGap = 0.0;
    // Stock-edge offset less half the part gap; 0 during a run.
    double EdgeGap = 0.0;
    std::int32_t ClampColor = 12;
    std::int32_t StockHoleColor = 241;
    std::int32_t StockColor = 191;
    std::int32_t PartHoleColor = 30;
    std::int32_t PartColor = 140;
    std::uint8_t UseHole = 1;
    std::uint8_t UseCluster = 1;
    std::uint8_t Pressing = 0;
    std::uint8_t UseLandscape = 0;
    std::uint8_t PairWanted = 0;
    std::uint8_t LandscapeWanted = 0;
    std::uint8_t HoleMode = 0;
    std::int32_t StockTypeCount = 0;
    // Includes the clamp type (last) when clamps are used.
    std::int32_t PartTypeCount = 0;
    // count + 1 records each. Instances point into these arrays: a job replaces the types and then makes its
    // instances anew, never the types alone.
    std::vector<PartType> StockTypes;
    std::vector<PartType> PartTypes;
    std::int32_t StockInstanceCount = 0;
    // Clamp copies included, at the end of the list.
    std::int32_t PartInstanceCount = 0;
    // count + 1 records each.
    std::vector<PartInstance> StockInstances;
    std::vector<PartInstance> PartInstances;
    // The sheet being filled (an element of StockInstances, not owned) and its index.
    PartInstance* CurrentStockInstance = nullptr;
    std::int32_t CurrentStock = 0;
    // 1 while a manual command re-places a part.
    std::uint8_t ManualPlacement = 0;
    std::uint8_t PlacementMode = kPlacementMain;
    // 1 = the collision tests also keep parts inside UsableArea.
    std::int32_t UsableAreaCheck = 0;
    std::int32_t HoleHost = 0;
    std::int32_t LastPlacedInstance = -1;
    std::int32_t HoleIndex = 0;
    std::int32_t HolePlacedCount = 0;
    std::int32_t PassPlacedCount = 0;
    std::int32_t LastTypeIndex = kNoLastType;
    BoundingBox PlacedExtent;
    host::ge::Point2d ReferencePoint;
    BoundingBox StartWindow;
    BoundingBox HoleWindow;
    host::ge::Vector2d HoleWindowSize;
    BoundingBox UsableArea;
    host::ge::Vector2d UsableSize;
    host::ge::Vector2d PassSize;
    // Part instances placed on the current sheet, clamps first: kMaxPlacedParts entries, PlacedPartCount used.
    std::vector<std::int32_t> PlacedParts;
    std::int32_t PlacedPartCount = 0;
    // The parts on the current sheet by where they lie, for the pose tests; CommitPartPose keeps it up to date,
    // and whatever changes poses otherwise calls its Invalidate.
    PlacedPartIndex PlacedIndex;
    std::int32_t HoleHostCursor = 0;
    std::int32_t HoleCursor = 0;
    std::int32_t ShownSheet = 0;
    std::int32_t UsedStockCount = 0;
    std::int32_t PlacedTotal = 0;
    std::int32_t OrderCount = 0;
    // Identity list of part instances, and the part instances in placement order.
    std::vector<std::int32_t> OrderIndex;
    std::vector<std::int32_t> PartOrder;
    // Finest and coarse slide steps.
    host::ge::Vector2d SearchStep;
    host::ge::Vector2d CoarseStep;
    // 1 = rectangular nesting.
    std::uint8_t RectMode = 0;
    std::int32_t GroupCount = 0;
    std::int32_t CurrentGroup = 0;
    // kGroupCapacity groups: group 0 and the variant groups of the part being placed.
    std::vector<PartGroup> Groups;
    std::string LastFileNesting;
    std::string DirInstall;
    std::int32_t Unit = kUnitMillimetres;
    std::string TypeLineMove;
    std::string TypeLineStock;
    std::string TypeLinePart;
    std::string PdModeText;
    std::string PdSizeText;
    std::array<QualityRow, kQualityLevelCount> QualityTable{};
    // Row of QualityTable in use.
    std::int32_t QualityLevel = kMinQualityLevel;

    // Work state of one sheet's optimisation: the best pass so far and the STV pass counter.
    BestLayout Best;
    std::int32_t StvPassCount = 0;
};
