// Messages of the engine's records: the limits a job may not exceed.
#pragma once

#include "cadlib/messages.h"

// Printf arguments: the job's count, the limit.
inline constexpr TwoLanguageText kTooManyPartInstances{
    "\nThe job has %d part copies; at most %d can be nested at once. Nesting is not started.",
    "\nВ задании %d экземпляров деталей; одновременно можно раскроить не более %d. Раскрой не запущен."};
// Printf arguments: the clamp quantity, the limit.
inline constexpr TwoLanguageText kTooManyClamps{
    "\nThe job asks for %d clamps per sheet; at most %d fit. Nesting is not started.",
    "\nВ задании %d прижимов на лист; допускается не более %d. Раскрой не запущен."};
// Printf argument: the limit.
inline constexpr TwoLanguageText kSheetFull{
    "\nThe sheet already carries %d parts and clamps; no more can be placed on it.",
    "\nНа листе уже %d деталей и прижимов; больше разместить нельзя."};
// Printf argument: the limit.
inline constexpr TwoLanguageText kBestLayoutFull{
    "\nThe best layout of a sheet holds at most %d parts; the rest of the sheet is not kept.",
    "\nЛучшая раскладка листа хранит не более %d деталей; остальные детали листа не сохранены."};
