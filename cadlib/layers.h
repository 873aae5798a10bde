// Layers and line types of the working drawing: creating layers, loading line types, the current layer, and a
// cache of layer visibility for walks over every entity.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/entity.h"

// The line type a layer gets when the drawing lacks the one asked for.
inline constexpr std::string_view kFallbackLinetype = "CONTINUOUS";

// True when the working drawing has line type `name` or it was loaded from `file` (a relative path is taken
// within the installation folder); false when there is no drawing or the load failed (the host's message is
// printed).
bool LoadLinetype(std::string_view name, const std::filesystem::path& file);

// Creates layer `name` with colour index `colorIndex` (1-255), line type `linetype` and the off flag, unless the
// drawing has the layer: an existing layer is not changed. A line type the drawing lacks is reported and replaced
// by kFallbackLinetype. Answers the host status (InvalidInput for a name or colour the layer table refuses).
host::db::Status CreateLayer(std::string_view name, int colorIndex, std::string_view linetype, bool off);
// The same with a full colour value (an index or a true colour).
host::db::Status CreateLayerWithColor(std::string_view name, const host::db::Color& color, std::string_view linetype,
                                      bool off);
// Creates the layer, or sets the off flag, colour and line type of the existing one.
host::db::Status CreateOrUpdateLayer(std::string_view name, const host::db::Color& color, std::string_view linetype,
                                     bool off);

// The current layer through the host variable CLAYER; the host's status (RTNORM on success).
int SetCurrentLayer(std::string_view name);
int GetCurrentLayer(std::string& name);

// Answers 1 when the layer is missing (visible 0); else 0, and visible 1 when the layer is neither off nor frozen.
int IsLayerVisible(std::string_view name, int& visible);

// Named layer states of the working drawing: the layer-state manager's status of the rename or the deletion
// (KeyNotFound for a state that does not exist, NotApplicable when there is no drawing).
host::db::Status RenameLayerState(std::string_view oldName, std::string_view newName);
host::db::Status DeleteLayerState(std::string_view name);

// Layer visibility asked once per layer during one walk over a drawing. Names are matched exactly (a name that
// differs only in case is a new entry, with the host's answer for the same layer). Holds at most kCapacity
// layers: a further new layer prints "Too many layers" and counts as not visible, each time it is asked.
class LayerVisibilityCache {
public:
    static constexpr int kCapacity = 149;

    // 1 visible, 0 not visible, missing or not cached for want of room.
    int IsVisible(std::string_view name);
    int count() const { return static_cast<int>(names_.size()); }

private:
    std::vector<std::string> names_;
    std::vector<unsigned char> visible_;
};
