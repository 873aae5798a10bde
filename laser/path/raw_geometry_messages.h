// Texts of slicing the drawn lines at a point and of tracing a profile along them.
#pragma once

#include "cadlib/messages.h"

inline constexpr TwoLanguageText kRawContourPrompt{"Choose a contour\n", "Выберите контур\n"};
inline constexpr TwoLanguageText kRawProfileSidePrompt{"Specify from what side to process the profile\n",
                                                       "Укажите, с какой стороны обрабатывать профиль\n"};
inline constexpr TwoLanguageText kRawManyLinesText{
    "\nERROR!!!\nIn the specified point there are many geometrical lines.\nPlease check the geometry.",
    "\nОШИБКА!!!\nВ указанной точке много геометрических линий.\nПроверьте геометрию."};
inline constexpr TwoLanguageText kRawExplodeErrorText{"Error: Explode = %i\n", "Ошибка: Explode = %i\n"};
inline constexpr TwoLanguageText kTraceJunctionText{
    "ERROR - the profile is constructed incorrectly.\nIn the finite point of the processed profile part (%s) - %i of "
    "the object.\nIt is admitted no more than 2 objects\nPlease correct the profile and repeat the processing",
    "ОШИБКА - профиль построен неверно.\nВ конечной точке обработанной части профиля (%s) - %i объекта.\nДопускается "
    "не более 2 объектов\nИсправьте профиль и повторите обработку"};
