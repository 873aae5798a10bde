// Diagnostic printouts of result-buffer lists, entity data lists and selection sets on the command line.
#pragma once

#include "host/db/ids.h"
#include "host/db/resbuf.h"

// One line per element by result type (RTNONE, RTREAL, RTSHORT, RTSTR, RTENAME, RT3DPOINT, RTLB, RTLE, and the
// entity names of groups -1 and -2); other codes print nothing.
void PrintResbufList(const host::db::ResBufList& list);
// One line per element, "(code . value)" formatted by the DXF type of the group code; 32-bit integer groups,
// 420-429, 440-459 and 1071 print nothing.
void PrintEntityData(const host::db::ResBufList& list);
// For each member of the set: "index = <i>" and its data list as PrintEntityData prints it.
void PrintSelectionSetData(const host::db::EntityName& set);
