// Messages of the nesting job: reading its file, checking it against the engine's limits and the drawing's block
// names, and loading its stocks, parts and clamps.
#pragma once

#include "cadlib/messages.h"

// Printf argument: the path of the job file.
inline constexpr TwoLanguageText kJobFileNotOpened{
    "\nERROR!!!\n\nThe nesting job file '%s' cannot be opened.\n\nThe job is not loaded.  ",
    "\nОШИБКА!!!\n\nНе удается открыть файл задания на раскрой '%s'.\n\nЗадание не загружено.  "};
// Printf arguments: the path, the line number, what the line belongs to, the reason.
inline constexpr TwoLanguageText kJobFileLineError{
    "\nERROR!!!\n\nThe nesting job file '%s' cannot be read.\nLine %d, %s: %s.\n\nThe job is not loaded.  ",
    "\nОШИБКА!!!\n\nФайл задания на раскрой '%s' не читается.\nСтрока %d, %s: %s.\n\nЗадание не загружено.  "};
// Printf arguments: the path, the reason.
inline constexpr TwoLanguageText kJobRefused{
    "\nERROR!!!\n\nThe nesting job '%s' cannot be loaded:\n%s.  ",
    "\nОШИБКА!!!\n\nЗадание на раскрой '%s' не может быть загружено:\n%s.  "};

// What a line of the file belongs to. Printf argument of the entries: the entry's number.
inline constexpr TwoLanguageText kJobFileLabel{"file", "файл"};
inline constexpr TwoLanguageText kJobHeaderLabel{"header", "заголовок"};
inline constexpr TwoLanguageText kStockEntryLabel{"stock %d", "заготовка %d"};
inline constexpr TwoLanguageText kPartEntryLabel{"part %d", "деталь %d"};
inline constexpr TwoLanguageText kPartsSectionLabel{"part count", "число деталей"};
inline constexpr TwoLanguageText kJobEndLabel{"end of the job", "конец задания"};
// An entry named with the line of its block name (printf: entry, line) or with its path (printf: entry, path).
inline constexpr TwoLanguageText kEntryAtLine{"%s (line %d)", "%s (строка %d)"};
inline constexpr TwoLanguageText kEntryWithPath{"%s ('%s')", "%s ('%s')"};

// The values of a line, as the reasons name them.
inline constexpr TwoLanguageText kFieldSignature{"signature", "подпись"};
inline constexpr TwoLanguageText kFieldHeaderLine{"header line", "строка заголовка"};
inline constexpr TwoLanguageText kFieldStockCount{"stock count", "число заготовок"};
inline constexpr TwoLanguageText kFieldPartCount{"part count", "число деталей"};
inline constexpr TwoLanguageText kFieldType{"type", "тип"};
inline constexpr TwoLanguageText kFieldPath{"drawing path or rectangle name", "путь чертежа или имя прямоугольника"};
inline constexpr TwoLanguageText kFieldFileName{"file name of the rectangle", "имя файла прямоугольника"};
inline constexpr TwoLanguageText kFieldQuantity{"quantity", "количество"};
inline constexpr TwoLanguageText kFieldGrain{"grain angle", "угол проката"};
inline constexpr TwoLanguageText kFieldPriority{"priority index", "индекс приоритета"};
inline constexpr TwoLanguageText kFieldRotationType{"rotation type index", "индекс типа поворота"};
inline constexpr TwoLanguageText kFieldDeltaAngle{"delta angle index", "индекс шага угла"};
inline constexpr TwoLanguageText kFieldHalfSector{"half sector", "половина сектора"};
inline constexpr TwoLanguageText kFieldMinusHalfSector{"minus half sector", "минус половина сектора"};
inline constexpr TwoLanguageText kFieldDensity{"density", "плотность"};
inline constexpr TwoLanguageText kFieldThickness{"thickness", "толщина"};
inline constexpr TwoLanguageText kFieldEdgeOffset{"stock-edge offset", "отступ от края заготовки"};
inline constexpr TwoLanguageText kFieldPartGap{"part gap", "расстояние между деталями"};
inline constexpr TwoLanguageText kFieldFlags{"flags line", "строка флагов"};
inline constexpr TwoLanguageText kFieldEmptyLine{"empty line", "пустая строка"};
inline constexpr TwoLanguageText kFieldEndMark{"end mark \"0\"", "признак конца \"0\""};

// Reasons of kJobFileLineError.
// Printf argument: the signature the file must start with.
inline constexpr TwoLanguageText kReasonNotJobFile{"this is not a nesting job file (its first line must read \"%s\")",
                                                   "это не файл задания на раскрой (первая строка должна быть \"%s\")"};
// Printf argument: the value expected.
inline constexpr TwoLanguageText kReasonFileEnds{"the file ends where the %s was expected",
                                                 "файл кончается там, где ожидалось: %s"};
// Printf arguments: the value, the least and the greatest allowed, the line.
inline constexpr TwoLanguageText kReasonNotInRange{"the %s must be a whole number from %d to %d, not \"%s\"",
                                                   "%s: нужно целое число от %d до %d, а не \"%s\""};
// Printf arguments: the value, the least and the greatest allowed, the line.
inline constexpr TwoLanguageText kReasonNumberNotInRange{"the %s must be a number from %g to %g, not \"%s\"",
                                                         "%s: нужно число от %g до %g, а не \"%s\""};
// Printf argument: the line.
inline constexpr TwoLanguageText kReasonNotEmpty{
    "an empty line was expected, not \"%s\" (the counts of the file do not match its entries)",
    "ожидалась пустая строка, а не \"%s\" (числа в файле не соответствуют его записям)"};
// Printf argument: the line.
inline constexpr TwoLanguageText kReasonNoEndMark{
    "the end mark \"0\" was expected, not \"%s\" (the counts of the file do not match its entries)",
    "ожидался признак конца \"0\", а не \"%s\" (числа в файле не соответствуют его записям)"};
// Printf argument: the line.
inline constexpr TwoLanguageText kReasonBadType{"the type must be 0 (a rectangle) or 2 (a drawing), not \"%s\"",
                                                "тип должен быть 0 (прямоугольник) или 2 (чертеж), а не \"%s\""};
inline constexpr TwoLanguageText kReasonEmptyPath{"the path of the drawing is empty", "путь чертежа пуст"};
// Printf argument: the rectangle name.
inline constexpr TwoLanguageText kReasonBadRectangle{
    "the rectangle name \"%s\" gives no size (it must read NAME_WIDTHxHEIGHT, both sizes above 0)",
    "имя прямоугольника \"%s\" не задает размер (нужно ИМЯ_ШИРИНАxВЫСОТА, оба размера больше 0)"};
// Printf arguments: the rectangle name, the longest side.
inline constexpr TwoLanguageText kReasonRectangleTooLarge{
    "the rectangle \"%s\" has a side longer than %g", "у прямоугольника \"%s\" есть сторона длиннее %g"};
// Printf arguments: the quantity as the file gives it, the limit.
inline constexpr TwoLanguageText kReasonQuantityTooLarge{
    "the quantity %s is more than the %d copies one job can hold",
    "количество %s больше %d экземпляров, допустимых в задании"};
// Printf argument: the limit.
inline constexpr TwoLanguageText kReasonLineTooLong{"the line is longer than %d characters",
                                                    "строка длиннее %d символов"};
// Printf argument: the line.
inline constexpr TwoLanguageText kReasonTextAfterEnd{
    "text follows the end of the job: \"%s\" (the counts of the file do not match its entries)",
    "после конца задания есть текст: \"%s\" (числа в файле не соответствуют его записям)"};

// Reasons of kJobRefused: the job's totals and its block names.
// Printf arguments: the copies asked for, the limit.
inline constexpr TwoLanguageText kReasonTooManyParts{
    "the job asks for %lld part copies, clamps included; at most %d can be nested at once",
    "задание требует %lld экземпляров деталей с прижимами; одновременно можно раскроить не более %d"};
// Printf arguments: the sheets asked for, the limit.
inline constexpr TwoLanguageText kReasonTooManySheets{
    "the job asks for %lld sheets; at most %d can be nested at once",
    "задание требует %lld листов; одновременно можно раскроить не более %d"};
// Printf arguments: the clamps asked for, the limit.
inline constexpr TwoLanguageText kReasonTooManyClamps{
    "the options ask for %lld clamps per sheet; at most %d fit",
    "в настройках задано %lld прижимов на лист; допускается не более %d"};
// Printf argument: the entry.
inline constexpr TwoLanguageText kReasonBlockNameEmpty{"%s has no block name", "у записи %s нет имени блока"};
// Printf arguments: the name, the entry.
inline constexpr TwoLanguageText kReasonBlockNameInvalid{
    "the block name \"%s\" of %s holds a character a block name cannot hold (< > / \\ \" : ; ? * | , = ' ` or a "
    "control character)",
    "имя блока \"%s\" записи %s содержит недопустимый символ (< > / \\ \" : ; ? * | , = ' ` или управляющий символ)"};
// Printf arguments: the entry, the limit.
inline constexpr TwoLanguageText kReasonBlockNameTooLong{"the block name of %s is longer than %d bytes",
                                                         "имя блока записи %s длиннее %d байт"};
// Printf arguments: the entry, the name.
inline constexpr TwoLanguageText kReasonBlockNameReserved{
    "%s takes the block name \"%s\", which is kept for the clamps",
    "запись %s использует имя блока \"%s\", зарезервированное для прижимов"};
// Printf arguments: the first entry, the second entry, the name.
inline constexpr TwoLanguageText kReasonBlockNameClash{
    "%s and %s both take the block name \"%s\"; every stock and part needs a block name of its own",
    "записи %s и %s используют одно имя блока \"%s\"; у каждой заготовки и детали должно быть свое имя блока"};

// Loading the drawings and rectangles of a job.
// Printf arguments: the block name, the path or rectangle name of the type.
inline constexpr TwoLanguageText kBlockNameTaken{
    "\nERROR!!!\n\nThe block '%s' of '%s' cannot be made: the drawing already holds a block of that name.  ",
    "\nОШИБКА!!!\n\nБлок '%s' для '%s' не создан: в чертеже уже есть блок с таким именем.  "};
inline constexpr TwoLanguageText kBlockNotMade{"\nERROR!!!\n\nThe block '%s' of '%s' cannot be made.  ",
                                               "\nОШИБКА!!!\n\nБлок '%s' для '%s' не создан.  "};
// Printf arguments: the clamp width and height.
inline constexpr TwoLanguageText kClampSizeInvalid{
    "\nERROR!!!\n\nThe clamps are %g x %g: both sizes must be above 0. Set the clamp size in the nesting options or "
    "turn the clamps off.  ",
    "\nОШИБКА!!!\n\nРазмер прижимов %g x %g: оба размера должны быть больше 0. Задайте размер прижимов в настройках "
    "раскроя или отключите прижимы.  "};
