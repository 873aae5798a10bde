// The texts of the path groups, their lookup and deletion, the path totals and the home rapid, in English and
// Russian.
#pragma once

#include "cadlib/messages.h"

// A path group of the name about to be written was left in the drawing and could not be removed; %s is its name.
inline constexpr TwoLanguageText kStalePathGroupText{
    "\n\rError: the path group %s is left over in the drawing and cannot be removed; the path is added to it.",
    "\n\rОшибка: группа траектории %s осталась в чертеже и не удаляется; траектория добавлена в неё."};

// Prompts of the deletion commands.
inline constexpr TwoLanguageText kDelPickPrompt{"\nChoose the processed contour for the removal ",
                                                "\nВыберите обработанный контур для удаления "};
inline constexpr TwoLanguageText kDelCrossingPrompt{"\nChoose processed contours for the removal ",
                                                    "\nВыберите обработанные контуры для удаления "};

// Host command failures of the deletion commands; %i is the host's answer code.
inline constexpr TwoLanguageText kDelLastEraseError{"Error: CommandDelLast - erase = %i\n",
                                                    "Ошибка: CommandDelLast - erase = %i\n"};
inline constexpr TwoLanguageText kDelLastGroupError{"Error: CommandDelLast - group explode = %i\n",
                                                    "Ошибка: CommandDelLast - group explode = %i\n"};
inline constexpr TwoLanguageText kDelAllEraseError{"Error: CommandDelAll - erase = %i\n",
                                                   "Ошибка: CommandDelAll - erase = %i\n"};
inline constexpr TwoLanguageText kDelAllGroupError{"Error: CommandDelAll - group explode = %i\n",
                                                   "Ошибка: CommandDelAll - group explode = %i\n"};
inline constexpr TwoLanguageText kDelPickEraseError{"Error: CommandDelPick - erase = %i\n",
                                                    "Ошибка: CommandDelPick - erase = %i\n"};
inline constexpr TwoLanguageText kDelPickGroupError{"Error: CommandDelPick - group explode = %i\n",
                                                    "Ошибка: CommandDelPick - group explode = %i\n"};
inline constexpr TwoLanguageText kDelPickRenameError{"Error: CommandDelPick - Rename group = %i\n",
                                                     "Ошибка: CommandDelPick - Rename group = %i\n"};
inline constexpr TwoLanguageText kDelCrossingEraseError{"Error: CommandDelCrossing - erase = %i\n",
                                                        "Ошибка: CommandDelCrossing - erase = %i\n"};
inline constexpr TwoLanguageText kDelCrossingGroupError{"Error: CommandDelCrossing - group explode = %i\n",
                                                        "Ошибка: CommandDelCrossing - group explode = %i\n"};
inline constexpr TwoLanguageText kDelCrossingRenameError{"Error: CommandDelCrossing - Rename group = %i\n",
                                                         "Ошибка: CommandDelCrossing - Rename group = %i\n"};
// Removing a left-over group before a new one of its name is written.
inline constexpr TwoLanguageText kStaleGroupEraseError{"Error: path group - erase = %i\n",
                                                       "Ошибка: группа траектории - erase = %i\n"};
inline constexpr TwoLanguageText kStaleGroupDeleteError{"Error: path group - group explode = %i\n",
                                                        "Ошибка: группа траектории - group explode = %i\n"};
