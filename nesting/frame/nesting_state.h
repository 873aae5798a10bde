// The nesting module's one state object: the engine with its job, plus what the module keeps for the drawing
// (the contour offset's tables, the drawings without contours, the job file, the entities a load copies) and the
// settings the module reads from the product's registry key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/db/ids.h"
#include "nesting/geometry/offset_workspace.h"
#include "nesting/model/nesting_engine.h"

// Storage PrepareNestDrawing gives the entity arrays, and the growth of a full array.
inline constexpr std::size_t kCopiedEntityStart = 2000;
inline constexpr std::size_t kSpecialEntityStart = 500;
inline constexpr std::size_t kEntityGrowth = 20;
// PDMODE when the setting gives none (0 or less).
inline constexpr int kDefaultPdMode = 35;

// A growable array of host entity names that grows by kEntityGrowth when full.
class EntityNameList {
public:
    // Forgets every name and keeps room for `capacity` names.
    void Reset(std::size_t capacity);
    // Forgets every name and frees the storage.
    void Free();
    void Append(const host::db::EntityName& name);
    std::int32_t Count() const { return static_cast<std::int32_t>(names_.size()); }
    std::size_t Capacity() const { return names_.capacity(); }
    const std::vector<host::db::EntityName>& Names() const { return names_; }

private:
    std::vector<host::db::EntityName> names_;
};

class CNestingState : public CNestingEngine {
public:
    // The engine's start values, then the module's own: empty job, the offset's work area with its empty result
    // contours and zeroed crossing records, no entity storage.
    CNestingState();
    ~CNestingState();
    CNestingState(const CNestingState&) = delete;
    CNestingState& operator=(const CNestingState&) = delete;

    // Reads the module's settings from the product's registry key (unit, line types, installation folder, point
    // display, language, pass tie-break rule, stock origin) and sets the slide steps for the unit. Answers 0.
    int ReadNestingSettings();
    // Loads the line types TypeLineMove and TypeLineStock from the product's line-type file for the unit, telling
    // each that fails, and creates layer NC_ContoursOffset. Answers 0.
    int LoadNestingLinetypes();
    // Writes the material of the job to the product's registry key when the key exists. Answers 0, or -1 when a
    // value could not be written.
    int SaveLastMaterial();
    // Makes the drawing ready for a job load: layer NC_ContoursOffset, PDMODE and PDSIZE from the settings, and
    // fresh storage for the entity arrays. Answers 0.
    int PrepareNestDrawing();
    // Loads the CAM line types and creates the CAM layer set, then makes layer "0" current. Answers 0.
    int CreateCamLayers();
    // Frees the poses of every stock (part) instance; the instance arrays and counts stay. Answers 0.
    int FreeStockInstances();
    int FreePartInstances();
    // Append one entity to CopiedEntities (SpecialEntities). Answer 0.
    int AppendCopiedEntity(const host::db::EntityName& name);
    int AppendSpecialEntity(const host::db::EntityName& name);

    // The line-type file of the product for the Unit in force: Kestrion.lin for inches, Kestrion_iso.lin for
    // millimetres, in DirInstall.
    std::string LinetypeFilePath() const;

    // The contour offset's result contours (OffsetContours) and crossing records (OffsetPieces).
    OffsetWorkspace Offset;
    // Full paths of job drawings that hold no stored contour data, and the position of the next one to open.
    std::vector<std::string> FilesWithoutContours;
    std::int32_t FilesWithoutContoursCursor = 0;
    // The job file of the loaded job.
    std::string CurrentJobPath;
    // Entities copied from the drawing being loaded that become its block, and the copied part entities that
    // join the block but are no contours.
    EntityNameList CopiedEntities;
    EntityNameList SpecialEntities;
};

// The module's state: built when the module is loaded, destroyed when it is unloaded.
CNestingState& NestingState();
