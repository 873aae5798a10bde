// Messages of the manual part commands and of their insert dialog.
#pragma once

#include "cadlib/messages.h"

inline constexpr TwoLanguageText kSelectPartPrompt{"\n\rSelect Part [Enter-quit]", "\n\rВыбери деталь [Enter-выход]"};
// Printf arguments: the type's block name, its copies on the sheet, its quantity.
inline constexpr TwoLanguageText kPartCountOnSheet{"\n\r%s=%i/%i\n\r", "\n\r%s=%i/%i\n\r"};
inline constexpr TwoLanguageText kCannotPlaceDetail{"I can not place this detail    ",
                                                    "Не могу разместить эту деталь    "};
// A manual part command or NestInfo before the loaded job was nested. Printf argument: the command's title.
inline constexpr TwoLanguageText kStartNestingFirst{
    "Execute the command 'Start Nesting'.     \r\nThen repeat the command '%s'    ",
    "Выполните команду 'Разместить детали'.     \r\nЗатем повторите команду '%s'    "};
// The title InsertPart's messages give it.
inline constexpr TwoLanguageText kInsertPartTitle{"Insert Part", "Вставить деталь"};
// A manual part command or NestInfo where no job is in memory (none loaded in this session, e.g. a nested sheet
// opened anew). Printf argument: the command's title.
inline constexpr TwoLanguageText kNoJobInMemory{
    "No nesting job is loaded in this session, so the parts of this sheet are not known.     \r\nLoad the job "
    "(OpenFileNesting) and nest it (StartNestingAdv), then repeat the command '%s'    ",
    "В этом сеансе задание на раскрой не загружено, поэтому детали этого листа неизвестны.     \r\nЗагрузите "
    "задание (OpenFileNesting) и выполните раскрой (StartNestingAdv), затем повторите команду '%s'    "};
// The job was nested, but the drawing holds none of its sheets (the sheet was undone, or another drawing is
// current). Printf arguments: the job file, the command's title.
inline constexpr TwoLanguageText kNoSheetOfTheJobShown{
    "The drawing holds no sheet of the nested job %s.     \r\nShow a sheet (DrawPartNesting, NextListNesting) "
    "or nest the job again (StartNestingAdv), then repeat the command '%s'    ",
    "Чертеж не содержит ни одного листа раскроя задания %s.     \r\nПокажите лист (DrawPartNesting, "
    "NextListNesting) или выполните раскрой снова (StartNestingAdv), затем повторите команду '%s'    "};
// The drawing holds a sheet of another job file than the one in memory. Printf arguments: the sheet's job file,
// the loaded job file, the command's title.
inline constexpr TwoLanguageText kSheetOfAnotherJob{
    "The sheet in the drawing was nested from the job %s, not from the loaded job %s.     \r\nLoad its job "
    "(OpenFileNesting) and nest it (StartNestingAdv), then repeat the command '%s'    ",
    "Лист в чертеже получен раскроем задания %s, а не загруженного задания %s.     \r\nЗагрузите его задание "
    "(OpenFileNesting) и выполните раскрой (StartNestingAdv), затем повторите команду '%s'    "};

// The insert dialog.
inline constexpr TwoLanguageText kInsertDialogCaption{"Add a detail on the current stock",
                                                      "Добавить деталь на текущий лист"};
inline constexpr TwoLanguageText kInsertAutomaticGroupText{"Insert Automatic", "Вставить Автоматически"};
inline constexpr TwoLanguageText kInsertManualGroupText{"Insert Manual", "Вставить в ручную"};
inline constexpr TwoLanguageText kInsertButtonText{"Insert", "Вставить"};
inline constexpr TwoLanguageText kInsertPlus0ButtonText{"Insert +0", "Вставить +0"};
inline constexpr TwoLanguageText kInsertPlus90ButtonText{"Insert +90", "Вставить +90"};
inline constexpr TwoLanguageText kInsertPlus180ButtonText{"Insert +180", "Вставить +180"};
inline constexpr TwoLanguageText kInsertMinus90ButtonText{"Insert -90", "Вставить -90"};
inline constexpr TwoLanguageText kInsertCancelButtonText{"Cancel", "Отмена"};
inline constexpr TwoLanguageText kInsertFileNameLabelText{"File Name:", "Имя файла:"};

// Headings of the insert grid.
inline constexpr TwoLanguageText kHeadingNumber{"№", "№"};
inline constexpr TwoLanguageText kHeadingFullPath{"Full Patch Name", "Полный путь к файлу"};
inline constexpr TwoLanguageText kHeadingFileName{"File Name", "Имя файла"};
inline constexpr TwoLanguageText kHeadingWidth{"Width", "Ширина"};
inline constexpr TwoLanguageText kHeadingHeight{"Height", "Высота"};
inline constexpr TwoLanguageText kHeadingQuantity{"Qty", "Кол-во"};
inline constexpr TwoLanguageText kHeadingGrain{"Grain angle", "Угол волокон"};
inline constexpr TwoLanguageText kHeadingRotation{"Type Rotate", "Тип поворота"};
inline constexpr TwoLanguageText kHeadingDelta{"Delta angle", "Инкремент угла"};
inline constexpr TwoLanguageText kHeadingSector{"Angular sector", "Угловой сектор"};
inline constexpr TwoLanguageText kHeadingPriority{"Priority", "Приоритет"};

// Printf argument: the type's name. The same text in both languages.
inline constexpr TwoLanguageText kFileAlreadyInTable{"File  %s  already is present at the table",
                                                     "File  %s  already is present at the table"};
// Printf argument: the type's name. The same text in both languages.
inline constexpr TwoLanguageText kAllDetailsPlaced{"All details '%s' are placed", "All details '%s' are placed"};
