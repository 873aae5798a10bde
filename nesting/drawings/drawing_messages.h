// Messages of loading part and stock drawings, and of the contour offset's developer commands.
#pragma once

#include "cadlib/messages.h"

// Printf argument: the drawing's path.
inline constexpr TwoLanguageText kDrawingNotFound{"Not find file  %s", "Не найден файл  %s"};
// Printf argument: the drawing's path (a drawing whose stored contour data is missing or unusable).
inline constexpr TwoLanguageText kDrawingWithoutContours{
    "\nERROR!!!\n\nFile '%s' does not contain contours.  \nCreate contours and repeat the command  ",
    "\nОШИБКА!!!\n\nФайл '%s' не содержит контуров.  \nСоздайте контуры и повторите команду  "};
// Printf argument: the drawing's path (the size reader, on a status other than 1).
inline constexpr TwoLanguageText kDrawingSizeWithoutContours{
    "\nERROR!!!\n\nFile  '%s'  does not contain contours.    \nCreate contours and repeat the command  ",
    "\nОШИБКА!!!\n\nФайл  '%s'  не содержит контуров.    \nСоздайте контуры и повторите команду  "};
// Printf argument: the drawing's path (the size reader, a file that cannot be read).
inline constexpr TwoLanguageText kDrawingSizeNotFound{"The file  %s is not find  ", "Файл  %s не найден  "};
// Printf argument: the drawing's path. The part keeps quantity 0; the other types load.
inline constexpr TwoLanguageText kPartExcluded{
    "Error reading file: \n\r%s\n\r\n\rPart will be excluded from placement!!!\n\rRecreate contours this part and "
    "repeat command nesting",
    "Ошибка чтения файла: \n\r%s\n\r\n\rДеталь будет исключена из раскроя!!!\n\rПересоздайте контуры этой детали и "
    "повторите команду раскроя"};
// Printf arguments: the stock's path or rectangle name, the stock-edge offset. The offset leaves nothing of the
// stock: it is left out, as a stock that failed to read is.
inline constexpr TwoLanguageText kStockTooSmallForOffsets{
    "\nERROR!!!\n\nThe stock '%s' is too small for the offsets: a stock-edge offset of %s leaves no room on it.\n\r"
    "The stock will be excluded from nesting. Make the stock-edge offset smaller or choose a larger stock.  ",
    "\nОШИБКА!!!\n\nЗаготовка '%s' слишком мала для заданных отступов: при отступе от края %s на ней не остается "
    "места.\n\rЗаготовка будет исключена из раскроя. Уменьшите отступ от края или выберите заготовку больше.  "};
// Printf argument: the drawing's path. The entity of a part's hole cannot be read as a polyline: the part is
// nested without that hole.
inline constexpr TwoLanguageText kPartHoleUnreadable{
    "Error reading file %s\n\rRecreate contours this part and repeat command nesting",
    "Ошибка чтения файла %s\n\rПересоздайте контуры этой детали и повторите команду раскроя"};
// Printf argument: the drawing's path. A stock drawing that failed to read.
inline constexpr TwoLanguageText kStockDrawingChanged{
    "\nERROR!!!\n\nError in file '%s'. \nThe file was changed without creating contours.   \n\nRecreate contours "
    "and repeat the command  ",
    "\nОШИБКА!!!\n\nОшибка в файле '%s'. \nФайл был изменен без создания контуров.   \n\nПересоздайте контуры и "
    "повторите команду  "};
// Printf argument: the drawing's path. A part drawing that failed to read.
inline constexpr TwoLanguageText kPartDrawingChanged{
    "\nERROR!!!\n\nError in file '%s'. \nThe file was changed without creating contours.   \nRecreate contours and "
    "repeat the command  ",
    "\nОШИБКА!!!\n\nОшибка в файле '%s'. \nФайл был изменен без создания контуров.   \nПересоздайте контуры и "
    "повторите команду  "};
// Printf argument: the drawing's path.
inline constexpr TwoLanguageText kStockIllegalContours{
    "\nERROR!!!\n\nStock '%s' contains illegal types of contours.   \n\nRemove illegal types of lines and repeat the "
    "command  ",
    "\nОШИБКА!!!\n\nЛист '%s' содержит недопустимые типы контуров.   \n\nУдалите недопустимые типы линий и "
    "повторите команду  "};
// Printf argument: the drawing's path. Contours were made, but none of them is a closed outer contour to place
// (or, for a stock, to place on).
inline constexpr TwoLanguageText kDrawingWithoutOuterContour{
    "\nERROR!!!\n\nFile '%s' has no closed outer contour.   \n\nDraw the outline, create contours and repeat the "
    "command  ",
    "\nОШИБКА!!!\n\nФайл '%s' не содержит замкнутого внешнего контура.   \n\nНачертите контур, создайте контуры и "
    "повторите команду  "};
// Printf argument: the drawing's path. Unexpected failures of the three steps of a drawing's load.
inline constexpr TwoLanguageText kErrorReadingFile{"Error reading file %s", "Ошибка чтения файла %s"};
inline constexpr TwoLanguageText kErrorOffsettingFile{"Error to create contours offset in file %s",
                                                      "Ошибка создания контуров смещения в файле %s"};
inline constexpr TwoLanguageText kErrorBlockOfFile{"Error to create blocks in file %s",
                                                   "Ошибка создания блоков в файле %s"};

// Prompts of the contour offset's developer commands.
inline constexpr TwoLanguageText kPromptOffsetDistance{"\nSelect Distance [10] ", "\nВведи дистанцию [10] "};
inline constexpr TwoLanguageText kPromptOffsetObject{"\nSelect an object: ", "\nВыбери объект: "};
// Printf arguments: the drawing's path, the drawing's unit, the job's unit. Printed when a part or stock drawing
// in other units than the nesting job's is loaded and scaled into the job's.
inline constexpr TwoLanguageText kDrawingScaledToJobUnit{
    "\n\rThe drawing %s is drawn in %s: it is scaled into %s, the unit of the job.",
    "\n\rЧертёж %s выполнен в единицах \"%s\": он масштабируется в единицы задания \"%s\"."};
inline constexpr TwoLanguageText kDrawingUnitMillimetres{"millimetres", "миллиметры"};
inline constexpr TwoLanguageText kDrawingUnitInches{"inches", "дюймы"};
