// Messages of the CNC program import.
#pragma once

#include "cadlib/messages.h"

inline constexpr TwoLanguageText kImportToDrawingsStarts{"\n\rImport CNC programs in DWG\n\r",
                                                         "\n\rИмпорт программы ЧПУ в файл DWG\n\r"};
inline constexpr TwoLanguageText kImportIntoDrawingStarts{"\n\rImport CNC programs in AutoCAD\n\r",
                                                          "\n\rИмпорт программ ЧПУ в AutoCAD\n\r"};
inline constexpr TwoLanguageText kSelectOtherFolder{"Error!!! Select other folder", "Ошибка!!! Выбери другую папку"};
// Printf argument: the log file.
inline constexpr TwoLanguageText kCannotWriteLog{"Can not write file %s", "Не могу записать файл %s"};
inline constexpr TwoLanguageText kDeleteQuestionToDrawings{
    "\nDelete all lines fast move and LeadIn/LeadOut (Y/N) [N] ",
    "\nУдалить линии быстрых перемещений и линии захода на контур (Y/N) [N] "};
inline constexpr TwoLanguageText kDeleteQuestionIntoDrawing{
    "\nDelete all lines fast move and LeadIn/LeadOut (Y/N) [N] ",
    "\nУдалить все линии быстрых перемещений и линии захода на контур (Y/N) [N] "};
inline constexpr TwoLanguageText kModeQuestion{"\nEnter the number of mode (0-4)[0] ", "\nВведи номер режима (0-4)[0] "};
inline constexpr TwoLanguageText kScaleQuestion{"\nInput scale X,Y coordinates [1.0] ",
                                                "\nВведи масштаб координат X,Y [1.0] "};
// Printf argument: the drawing.
inline constexpr TwoLanguageText kFileCreated{"File create - %s\n\r", "Создан файл - %s\n\r"};
// Printf argument: the program.
inline constexpr TwoLanguageText kErrorOpenFile{"Error open file - %s\n\r", "Ошибка открытия файла - %s\n\r"};
inline constexpr TwoLanguageText kFileNotFound{"File not found %s", "Файл не найден %s"};
// Printf arguments: the program, why it was not read.
inline constexpr TwoLanguageText kProgramNotRead{"The program %s is not read: %s\n\r",
                                                 "Программа %s не прочитана: %s\n\r"};
inline constexpr TwoLanguageText kNotAText{"it holds a NUL byte, so it is no text file",
                                           "в нем есть нулевой байт, это не текстовый файл"};
// Printf arguments: the drawing, the reason.
inline constexpr TwoLanguageText kDrawingNotSaved{"Can not save file %s: %s\n\r",
                                                  "Не могу сохранить файл %s: %s\n\r"};
// Printf argument: the program.
inline constexpr TwoLanguageText kNothingToSave{"Nothing to save - %s has no cutting move\n\r",
                                                "Нечего сохранять - в %s нет ни одного реза\n\r"};
// Printf arguments: the drawing name an earlier program of the run took, the name used instead.
inline constexpr TwoLanguageText kDrawingNameTaken{
    "The drawing %s was written by an earlier program of this import; this one is saved as %s\n\r",
    "Чертеж %s записан предыдущей программой этого импорта; эта сохранена как %s\n\r"};

// Lines not read. Printf arguments: the line number, the program.
inline constexpr TwoLanguageText kLineTooLong{"Line %d of %s is not read: it is longer than 1024 characters\n\r",
                                              "Строка %d файла %s не прочитана: она длиннее 1024 символов\n\r"};
inline constexpr TwoLanguageText kLineNotANumber{
    "Line %d of %s is not read: an address has no number, or one that is no finite number, or its number is "
    "mistyped (a letter or a second point inside it, a sign that is no address between the words)\n\r",
    "Строка %d файла %s не прочитана: у адреса нет числа, число не конечное или записано с ошибкой (буква или "
    "вторая точка внутри числа, посторонний знак между словами)\n\r"};
inline constexpr TwoLanguageText kLineOutOfRange{
    "Line %d of %s is not read: a coordinate lies beyond 1e9 drawing units\n\r",
    "Строка %d файла %s не прочитана: координата больше 1e9 единиц чертежа\n\r"};
inline constexpr TwoLanguageText kLineNotReadable{
    "Line %d of %s is not read: it begins with no address letter\n\r",
    "Строка %d файла %s не прочитана: она начинается не с адресной буквы\n\r"};
// Printf arguments: the line number, the program, the G code.
inline constexpr TwoLanguageText kLineUnknownGCode{"Line %d of %s is not read: G%d is not known to the import\n\r",
                                                   "Строка %d файла %s не прочитана: код G%d импорту не известен\n\r"};
inline constexpr TwoLanguageText kLineArcWithoutCentre{
    "Line %d of %s is not read: the arc has no centre (no I, J or R)\n\r",
    "Строка %d файла %s не прочитана: у дуги нет центра (нет I, J или R)\n\r"};
inline constexpr TwoLanguageText kLineArcRadiusTooSmall{
    "Line %d of %s is not read: the arc's radius R is less than half the distance between its ends\n\r",
    "Строка %d файла %s не прочитана: радиус дуги R меньше половины расстояния между ее концами\n\r"};
inline constexpr TwoLanguageText kLineArcOffCircle{
    "Line %d of %s is not read: the arc's ends lie at different distances from its centre (is the mode right?)\n\r",
    "Строка %d файла %s не прочитана: концы дуги на разном расстоянии от центра (верен ли режим?)\n\r"};
// Printf arguments: the number of further lines not read, the program.
inline constexpr TwoLanguageText kMoreLinesNotRead{"%d more lines of %s are not read\n\r",
                                                   "Еще %d строк файла %s не прочитано\n\r"};
// Printf arguments: the line number, the program, the element limit.
inline constexpr TwoLanguageText kContourFull{
    "Line %d of %s: the contour holds %d elements, the most one contour can hold; it is finished there and the "
    "next one begins\n\r",
    "Строка %d файла %s: в контуре %d элементов, больше контур не вмещает; он закончен здесь, и начат следующий\n\r"};

// The import log. Printf arguments of a line: the label, the program (the line end is written after the notes).
inline constexpr const char* kLogMadeFormat = "+ %12s %s";
inline constexpr const char* kLogFailedFormat = "- %12s %s";
inline constexpr const char* kLogEndFormat = "%14s !!!\n";
inline constexpr TwoLanguageText kLogFileCreate{"FileCreate", "Создан файл"};
inline constexpr TwoLanguageText kLogErrorOpen{"ErrorOpen", "Ошибка открытия файла"};
inline constexpr TwoLanguageText kLogErrorSave{"ErrorSave", "Ошибка записи"};
inline constexpr TwoLanguageText kLogNothingToSave{"NothingToSave", "Нечего сохранять"};
inline constexpr TwoLanguageText kLogEnd{"End", "Конец"};
// Added to a log line. Printf argument: the drawing saved under a free name; the reason a save failed; the
// number of lines not read.
inline constexpr TwoLanguageText kLogSavedAs{" (saved as %s: the name was taken by an earlier program)",
                                             " (сохранен как %s: имя занято предыдущей программой)"};
inline constexpr TwoLanguageText kLogReason{" (%s)", " (%s)"};
inline constexpr TwoLanguageText kLogLinesNotRead{" (%d lines not read)", " (не прочитано строк: %d)"};
