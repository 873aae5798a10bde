// Named layer states: the on, frozen and locked flags and the colour of every layer, saved under a name so that a
// user can go back to them. They live in the "ACAD_LAYERSTATES" dictionary of the named-object dictionary, one
// record per state, and so travel with the drawing file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"

namespace host::db {

inline constexpr std::string_view kLayerStatesDictionary = "ACAD_LAYERSTATES";

// Saves the layers as they are now under `name` (DuplicateKey when a state of that name exists; InvalidInput for
// an empty name).
Status saveLayerState(Database& db, std::string_view name);
// Puts the saved flags and colours back on the layers that still exist. KeyNotFound when there is no such state.
Status restoreLayerState(Database& db, std::string_view name);
// KeyNotFound when `oldName` names no state, DuplicateKey when `newName` is taken, InvalidInput when it is empty.
Status renameLayerState(Database& db, std::string_view oldName, std::string_view newName);
// KeyNotFound when there is no such state.
Status deleteLayerState(Database& db, std::string_view name);
// The names of the saved states, in the order they were saved.
std::vector<std::string> layerStateNames(const Database& db);

}  // namespace host::db
