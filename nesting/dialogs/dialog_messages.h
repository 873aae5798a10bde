// Texts of the nesting job dialog and its stock and part pages.
#pragma once

#include "cadlib/messages.h"

// [SECTION] Job dialog
inline constexpr TwoLanguageText kJobDialogCaption{"File Nesting", "Файл задания на раскрой"};
inline constexpr TwoLanguageText kJobFileGroup{"File Nesting", "Файл задания на раскрой"};
inline constexpr TwoLanguageText kLoadButton{"Load", "Загрузить"};
inline constexpr TwoLanguageText kSaveAsButton{"Save As...", "Сохранить как..."};
inline constexpr TwoLanguageText kOffsetsGroup{"Offsets", "Расстояние между деталями"};
inline constexpr TwoLanguageText kStockOffsetLabel{"Stock", "До заготовки"};
inline constexpr TwoLanguageText kPartOffsetLabel{"Part", "Между деталями"};
inline constexpr TwoLanguageText kStockTab{"Stock", "Заготовки"};
inline constexpr TwoLanguageText kPartsTab{"Parts", "Детали"};
inline constexpr TwoLanguageText kClearButton{"Clear", "Очистить"};
inline constexpr TwoLanguageText kCancelButton{"Cancel", "Отмена"};
inline constexpr TwoLanguageText kJobFileFilter{"*.nst|*.nst|All Files (*.*)|*.*||",
                                                "*.nst|*.nst|Все файлы (*.*)|*.*||"};

// Printf argument: the job file.
inline constexpr TwoLanguageText kCannotCreateJobFile{"ERROR!!!\n\rIt is not possible to create the file %s ",
                                                      "ОШИБКА!!!\n\rНе могу создать файл %s "};
inline constexpr TwoLanguageText kJobFileNotFound{"ERROR!!!\n\rFile %s is not found ",
                                                  "ОШИБКА!!!\n\rНе найден файл %s "};
// The dialog opens with no job path: no job has been opened or saved before.
inline constexpr TwoLanguageText kNoJobOpenedBefore{
    "No nesting job was opened before.\n\rLoad a job file, or add stocks and parts and press OK. ",
    "Задание на раскрой еще не открывалось.\n\rЗагрузите файл задания или добавьте заготовки и детали и нажмите OK. "};
inline constexpr TwoLanguageText kJobFileBadSignature{"ERROR!!!\n\rIncorrect format of file - %s ",
                                                      "ОШИБКА!!!\n\rНеправильный формат файла - %s "};
// Printf arguments: the job file, then the line at fault and why.
inline constexpr TwoLanguageText kJobFileBadContents{"ERROR!!!\n\rIncorrect format of file %s \n\r%s",
                                                     "ОШИБКА!!!\n\rНеправильный формат файла %s \n\r%s"};
// The line at fault in kJobFileBadContents. Printf arguments: the line, what it belongs to ("part 2"), why.
inline constexpr TwoLanguageText kJobFileLineProblem{"Line %d, %s: %s.", "Строка %d, %s: %s."};
// OK and Save As over the job file last loaded when it was not read whole. Printf arguments: the file, why.
inline constexpr TwoLanguageText kReplaceJobNotReadWhole{
    "The job file %s\n\rwas not read whole: %s\n\rThe tables show only what was read. Replacing the file loses the "
    "rest.\n\rDo you want to replace it?",
    "Файл задания %s\n\rпрочитан не полностью: %s\n\rВ таблицах только то, что удалось прочитать. При замене файла "
    "остальное будет потеряно.\n\rЗаменить его?"};
inline constexpr TwoLanguageText kJobDrawingsLeftOut{"some of its drawings were left out (see the report).",
                                                     "часть чертежей не загружена (см. сообщение)."};
// OK and Save As over a file that exists and is not a job file. Printf argument: the file.
inline constexpr TwoLanguageText kReplaceNotJobFile{
    "The file %s\n\ris not a nesting job file.\n\rDo you want to replace it with the job?",
    "Файл %s\n\rне является файлом задания на раскрой.\n\rЗаменить его заданием?"};
// OK over another job file than the one loaded or last saved (a path typed in the field). Printf argument: the file.
inline constexpr TwoLanguageText kReplaceOtherJobFile{
    "The job file %s\n\ralready exists.\n\rDo you want to replace it?",
    "Файл задания %s\n\rуже существует.\n\rЗаменить его?"};
// A text too long for its line of the job file. Printf arguments: the field, its most characters.
inline constexpr TwoLanguageText kFieldTooLong{"The value of \"%s\" is too long: at most %d characters.",
                                               "Значение \"%s\" слишком длинное: не более %d символов."};

// [SECTION] Pages
inline constexpr TwoLanguageText kAddStockDwgButton{"Add Stock DWG", "Добавить загот. DWG"};
inline constexpr TwoLanguageText kAddPartDwgButton{"Add Part DWG", "Добавить деталь DWG"};
inline constexpr TwoLanguageText kDeleteButton{"Delete", "Удалить"};
inline constexpr TwoLanguageText kDeleteAllButton{"Delete All", "Удалить все"};
inline constexpr TwoLanguageText kMaterialGroup{"Material", "Материал"};
inline constexpr TwoLanguageText kMaterialLabel{"Material", "Материал"};
inline constexpr TwoLanguageText kMaterialNumLabel{"Material Num", "Номер материала"};
inline constexpr TwoLanguageText kDensityLabel{"Density", "Плотность"};
inline constexpr TwoLanguageText kThicknessLabel{"Thickness", "Толщина"};
inline constexpr TwoLanguageText kSelectMaterialButton{"Select Material", "Выбрать материал"};
inline constexpr TwoLanguageText kFileNameLabel{"File Name:", "Имя файла:"};
inline constexpr TwoLanguageText kRectangleStockGroup{"Rectangle Stock", "Заготовка прямоугольной формы"};
inline constexpr TwoLanguageText kRectanglePartGroup{"Rectangle Part", "Деталь прямоугольной формы"};
inline constexpr TwoLanguageText kWidthLabel{"Width", "Ширина"};
inline constexpr TwoLanguageText kHeightLabel{"Height", "Высота"};
inline constexpr TwoLanguageText kNameLabel{"Name", "Имя"};
inline constexpr TwoLanguageText kAddStockRectangleButton{"Add Stock Rectangle", "Добавить заготовку"};
inline constexpr TwoLanguageText kAddPartRectangleButton{"Add Part Rectangle", "Добавить деталь"};
inline constexpr TwoLanguageText kOptimizationGroup{"Optimization option", "Вариант оптимизации"};
inline constexpr TwoLanguageText kOptimizeArea{"Optimize the area", "Оптимизировать площадь"};
inline constexpr TwoLanguageText kOptimizeWidth{"Optimize width", "Оптимизировать ширину"};
inline constexpr TwoLanguageText kSetOptionButton{"Set option", "Установить опцию"};
inline constexpr TwoLanguageText kStockCaption{"Stock", "Stock"};
inline constexpr TwoLanguageText kPartCaption{"Part", "Part"};
inline constexpr TwoLanguageText kAllFilesFilter{"All files", "Все файлы"};
inline constexpr TwoLanguageText kDrawingFilesFilter{"*.dxf files", "Файлы *.dxf"};

// Headings of the tables.
inline constexpr TwoLanguageText kNumberHeading{"№", "№"};
inline constexpr TwoLanguageText kTypeStockHeading{"Type_Stock", "Тип Заготовка"};
inline constexpr TwoLanguageText kTypePartHeading{"Type_Part", "Тип детали"};
inline constexpr TwoLanguageText kFullPathHeading{"Full Patch Name", "Полный путь к файлу"};
inline constexpr TwoLanguageText kFileNameHeading{"File Name", "Имя файла"};
inline constexpr TwoLanguageText kWidthHeading{"Width", "Ширина"};
inline constexpr TwoLanguageText kHeightHeading{"Height", "Высота"};
inline constexpr TwoLanguageText kQtyHeading{"Qty", "Кол-во"};
inline constexpr TwoLanguageText kStockGrainHeading{"Grain angle", "Угол текстуры"};
inline constexpr TwoLanguageText kPartGrainHeading{"Grain angle", "Угол волокон"};
inline constexpr TwoLanguageText kPriorityHeading{"Priority", "Приоритет"};
inline constexpr TwoLanguageText kTypeRotateHeading{"Type Rotate", "Тип поворота"};
inline constexpr TwoLanguageText kDeltaAngleHeading{"Delta angle", "Инкремент угла"};
inline constexpr TwoLanguageText kSectorHeading{"Angular sector", "Угловой сектор"};

inline constexpr TwoLanguageText kBadStockRectangle{"Error. Incorrect value of Height or Width of stock",
                                                    "Ошибка. Неправильно указана Ширина или Высота заготовки"};
inline constexpr TwoLanguageText kBadPartRectangle{"Error. Incorrect value of Height or Width of part",
                                                   "Ошибка. Неправильно указана Ширина или Высота детали"};
inline constexpr TwoLanguageText kDuplicateRectangle{"Duplicate file.\n\rThe file is in the table   \n\r",
                                                     "Дубликат файла.\n\rФайл присудствует в таблице   \n\r"};
// Printf argument: the refused text.
inline constexpr TwoLanguageText kInvalidSymbol{"Invalid symbol in the string - %s",
                                                "Неправильный символ в строке - %s"};

// A table cell's text refused. Printf arguments: the most copies, the text.
inline constexpr TwoLanguageText kBadQuantity{
    "The quantity must be a whole number from 0 to %d, not \"%s\". The cell keeps its value.",
    "Количество должно быть целым числом от 0 до %d, а не \"%s\". В ячейке остается прежнее значение."};
// Printf arguments: the column's heading, the least and the greatest angle, the text.
inline constexpr TwoLanguageText kBadAngle{
    "\"%s\" must be a number from %g to %g degrees, not \"%s\". The cell keeps its value.",
    "\"%s\": нужно число от %g до %g градусов, а не \"%s\". В ячейке остается прежнее значение."};
// Printf arguments: the text, the column's heading, its choices.
inline constexpr TwoLanguageText kNotAChoice{
    "\"%s\" is not a choice of \"%s\": choose one of %s. The cell keeps its value.",
    "\"%s\" нельзя выбрать в столбце \"%s\": выберите одно из значений %s. В ячейке остается прежнее значение."};

// [SECTION] The report of refused drawings
inline constexpr TwoLanguageText kReportMissing{"File not found:   ", "Файл не найден:   "};
inline constexpr TwoLanguageText kReportDuplicate{"Duplicate file.\n\rThe file is in the table   ",
                                                  "Дубликат файла.\n\rФайл присудствует в таблице   "};
inline constexpr TwoLanguageText kReportNoContours{
    "File does not contain contours. \n\rCreate contours and repeat the command   ",
    "Файл не содержит контуров. \n\rСоздайте контуры и повторите команду   "};
inline constexpr TwoLanguageText kReportOpenWithout{
    "Click Yes to download files without contours. \n\rClick No to exit   ",
    "Нажмите Да, чтобы открыть файлы без контуров. \n\rНажмите Нет для выхода   "};
inline constexpr const char* kReportSeparator = "\n\r\n\r------------------------------\n\r";
