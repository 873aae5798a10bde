// The texts of the commands that edit the cutting path by hand: cutting by pick and by fence, reordering,
// replacing, inserting and reversing paths, and bridges, in English and Russian.
#pragma once

#include "cadlib/messages.h"

// Cutting by pick.
inline constexpr TwoLanguageText kSelectContourPrompt{"\n\rSelect Contour ", "\n\rВыберите контур "};
inline constexpr TwoLanguageText kContourNotInListText{"\n\rThe selected object is absent in the list of contours.",
                                                       "\n\rВыбранный объект отсутствует в списке контуров."};
inline constexpr TwoLanguageText kContourProcessedText{
    "\n\rThe selected contour is processed, select an other contour",
    "\n\rВыбранный контур уже обработан, выберите другой контур"};
inline constexpr TwoLanguageText kSelectOtherContourText{"\n\rSelect an other contour",
                                                         "\n\rВыберите другой контур"};

// The fence (cutting by fence and bridges).
inline constexpr TwoLanguageText kFenceStartPrompt{"\nSelect the starting point ", "\nУкажите начальную точку "};
inline constexpr TwoLanguageText kFenceNextPrompt{"\nSelect the next point ", "\nУкажите следующую точку "};

// Reordering, replacing, inserting and reversing.
inline constexpr TwoLanguageText kOrderFirstPrompt{"\nSelect the processed contour <Enter - before the first> ",
                                                   "\nВыберите обработанный контур <Enter - перед первым> "};
inline constexpr TwoLanguageText kOrderNextPrompt{"\nSelect the following processed contour ",
                                                  "\nВыберите следующий обработанный контур "};
inline constexpr TwoLanguageText kReplacePrompt{"\nSelect the processed contour which it is required to replace ",
                                                "\nВыберите обработанный контур, который требуется заменить "};
inline constexpr TwoLanguageText kInsertPrompt{"\nSelect the processed contour <Enter - insert before> ",
                                               "\nВыберите обработанный контур <Enter - вставить перед первым> "};
inline constexpr TwoLanguageText kReversePrompt{
    "\nSelect the processed contour whose cut direction is to be reversed ",
    "\nВыберите обработанный контур, направление резки которого требуется изменить "};
// The home group is no contour: it cannot be moved, replaced, reversed, or have paths inserted after it.
inline constexpr TwoLanguageText kHomeGroupPickedText{
    "\n\rThe move home is not a contour path, select an other contour",
    "\n\rПереход в исходную точку не является траекторией контура, выберите другой контур"};
inline constexpr TwoLanguageText kNotReversibleText{
    "\n\rOnly the path of a polyline or a circle can be reversed, select an other contour",
    "\n\rИзменить направление можно только у траектории полилинии или окружности, выберите другой контур"};

// Host command failures; %i is the host's answer code.
inline constexpr TwoLanguageText kOrderRenameError{"Error: CommandNCOrder - Rename group = %i\n",
                                                   "Ошибка: CommandNCOrder - Rename group = %i\n"};
inline constexpr TwoLanguageText kReplaceEraseError{"Error: CommandNCReplace - erase = %i\n",
                                                    "Ошибка: CommandNCReplace - erase = %i\n"};
inline constexpr TwoLanguageText kReplaceGroupError{"Error: CommandNCReplace - group explode = %i\n",
                                                    "Ошибка: CommandNCReplace - group explode = %i\n"};
inline constexpr TwoLanguageText kReplaceRenameError{"Error: CommandNCReplace - Rename group = %i\n",
                                                     "Ошибка: CommandNCReplace - Rename group = %i\n"};
inline constexpr TwoLanguageText kInsertRenameError{"Error: CommandNCInsert - Rename group = %i\n",
                                                    "Ошибка: CommandNCInsert - Rename group = %i\n"};
// NCReplace: the replaced path could not be set aside or put back whole; %i is its group number.
inline constexpr TwoLanguageText kReplaceNotRestoredText{
    "\n\rError: the path of group %i could not be put back whole; the command stops.",
    "\n\rОшибка: траекторию группы %i не удалось вернуть целиком; команда прервана."};

// Switching contour properties by selection.
inline constexpr TwoLanguageText kPlacementPrompt{"\n\rTo change property of the contours  In/Out\n\rSelect contours",
                                                  "\n\rИзменение свойства контуров Внутренний/Наружный\n\rВыберите контуры"};
inline constexpr TwoLanguageText kLeadInPrompt{"\n\rTo change property of Leadin on profile (Yes/No)",
                                               "\n\rИзменение свойства подвода на контуре (Да/Нет)"};
inline constexpr TwoLanguageText kSelectContoursPrompt{"\n\rSelect contours", "\n\rВыберите контуры"};

// The pick of one contour, step by step.
inline constexpr TwoLanguageText kPickNothingText{"The object is not chosen.\nPlease repeat the input",
                                                  "Объект не выбран.\nПовторите ввод"};
inline constexpr TwoLanguageText kPickAmbiguousText{
    "In the specified point there are some objects - there is no unambiguity.\nPlease repeat the input",
    "В указанной точке находится несколько объектов - выбор неоднозначен.\nПовторите ввод"};
inline constexpr TwoLanguageText kPickProcessedText{"The chosen object is already processed.\nChoose an other contour.",
                                                    "Выбранный объект уже обработан.\nВыберите другой контур."};
inline constexpr TwoLanguageText kContourSidePrompt{"Specify from what side to process the contour\n",
                                                    "Укажите, с какой стороны обрабатывать контур\n"};
inline constexpr TwoLanguageText kPointOnLineText{"The point cannot lie on a line.\nPlease repeat the input",
                                                  "Точка не может лежать на линии.\nПовторите ввод"};
inline constexpr TwoLanguageText kPointOnArcText{"The point cannot lie on an arc.\nPlease repeat the input",
                                                 "Точка не может лежать на дуге.\nПовторите ввод"};
inline constexpr TwoLanguageText kPointOnCircleText{"The point cannot lie on a circle.\nPlease repeat the input",
                                                    "Точка не может лежать на окружности.\nПовторите ввод"};
inline constexpr TwoLanguageText kChooseProcessedContourPrompt{"\nChoose a processed contour ",
                                                               "\nВыберите обработанный контур "};
