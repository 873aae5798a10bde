// The user texts of NC program creation and of the program-creation dialog, in English and Russian.
#pragma once

#include "cadlib/messages.h"

// [SECTION] NC program creation
// The output file dialog's filter after "*.<ext>|*.<ext>" (drawings are DXF files here).
inline constexpr TwoLanguageText kNcFileFilterTail{"|*.dxf|*.dxf|All Files (*.*)|*.*||",
                                                   "|*.dxf|*.dxf|Все файлы (*.*)|*.*||"};
inline constexpr TwoLanguageText kPostprocessorLoadedWithMistake{
    "\nERROR!!!\n\nThe file of the postprocessor  '%s'  has been loaded with a mistake!!!  "
    "\nChoose an other postprocessor\n",
    "\nОШИБКА!!!\n\nФайл постпроцессора  '%s'  был загружен с ошибкой!!!  \nВыбери другой постпроцессор\n"};
inline constexpr TwoLanguageText kNcFileCreated{"\n\rFile %s is successfully created",
                                                "\n\rФайл %s успешно создан"};
// The same when contours of the drawing have no cutting path and so are not in the program. %s: the path; %i: how
// many contours.
inline constexpr TwoLanguageText kNcFileCreatedContoursLeft{
    "\n\rFile %s is successfully created, but contours left without a cutting path are not in it: %i",
    "\n\rФайл %s успешно создан, но контуров без траектории резки в нём нет: %i"};
// The NC program could not be written; the old file, if any, is left as it was. %s: the path, then why.
inline constexpr TwoLanguageText kNcFileNotWritten{
    "\nERROR!!!\n\nThe file  '%s'  could not be written:\n%s\n\nNothing has been changed.",
    "\nОШИБКА!!!\n\nФайл  '%s'  записать не удалось:\n%s\n\nНичего не изменено."};
// NCCreate in a drawing that has no cutting path: no dialog is shown and no file written.
inline constexpr TwoLanguageText kNoCuttingPath{
    "\n\rThe drawing has no cutting path: no NC program is written. Make the path first (NCSliceAuto).",
    "\n\rВ чертеже нет пути резки: программа ЧПУ не записана. Сначала постройте путь (NCSliceAuto)."};
// Why kNcFileNotWritten: a move of a path group held a number that is not finite. %s: the group's name.
inline constexpr TwoLanguageText kNcNumberNotFinite{
    "the path group %s holds a number that is not finite (an infinity or NaN), which no machine can take; "
    "check the group's contour and the lead-in and lead-out settings",
    "группа пути %s содержит число, не являющееся конечным (бесконечность или NaN), которое станок не примет; "
    "проверьте контур группы и настройки подвода и отвода"};
// The same before the first path group, in the program's start (its header values).
inline constexpr TwoLanguageText kNcStartNumberNotFinite{
    "the start of the program holds a number that is not finite (an infinity or NaN), which no machine can take; "
    "check the job's material and sheet values",
    "начало программы содержит число, не являющееся конечным (бесконечность или NaN), которое станок не примет; "
    "проверьте материал и размеры листа задания"};
// The written file could not be opened for the user. %s: the path, then why.
inline constexpr TwoLanguageText kNcFileNotOpened{"\n\rThe file %s could not be opened in the editor: %s",
                                                  "\n\rФайл %s не удалось открыть в редакторе: %s"};

// [SECTION] The program-creation dialog
// A feed of 0 (or no number) at OK; %s: the feed's label.
inline constexpr TwoLanguageText kFeedNotPositive{"%s must be greater than 0.", "%s: значение должно быть больше 0."};
inline constexpr TwoLanguageText kPostprocessorFileFilter{"*.MXT|*.MXT|All Files (*.*)|*.*||",
                                                          "*.MXT|*.MXT|Все файлы (*.*)|*.*||"};
inline constexpr TwoLanguageText kCreateProgramTitle{"Create program", "Создание программы"};
inline constexpr TwoLanguageText kProgramGroupText{"Program", "Программа"};
inline constexpr TwoLanguageText kNameProgramText{"Name program", "Имя программы"};
inline constexpr TwoLanguageText kFileNameText{"File name", "Имя файла"};
inline constexpr TwoLanguageText kSelectText{"Select...", "Выбрать..."};
inline constexpr TwoLanguageText kMachineGroupText{"Machine", "Станок"};
inline constexpr TwoLanguageText kPostprocessorText{"Postprocessor", "Постпроцессор"};
inline constexpr TwoLanguageText kCuttingFeedText{"Cutting feed", "Скорость резки"};
inline constexpr TwoLanguageText kCuttingFeedTool2Text{"Cutting feed Tool 2", "Скорость резки инструмент 2"};
inline constexpr TwoLanguageText kEngraveFeedText{"Engrave feed", "Скорость гравировки"};
inline constexpr TwoLanguageText kEngraveAndMarkFeedText{"Engrave and mark feed",
                                                         "Скорость гравировки и маркировки"};
inline constexpr TwoLanguageText kMarkFeedText{"Mark feed", "Скорость маркировки"};
inline constexpr TwoLanguageText kHeatTreatmentFeedText{"Heat Treatment feed", "Скорость термообработки"};
inline constexpr TwoLanguageText kOkText{"OK", "OK"};
inline constexpr TwoLanguageText kCancelText{"Cancel", "Отмена"};

// NCPlay and NCPlay1 at a terminal, after the play: the marker's steps and the time a screen would have taken.
inline constexpr TwoLanguageText kPlayedAtTerminalText{
    "\n\rThe cutting path was played: %llu steps of the marker, %.1f s on a screen. A terminal shows no drawing: "
    "run cadhost with --play-svg OUT.svg to write the played cut as an animated picture, and open it in a web "
    "browser.",
    "\n\rТраектория резки показана: шагов маркера %llu, %.1f с на экране. Терминал не показывает чертёж: "
    "запустите cadhost с --play-svg OUT.svg, чтобы записать показ резки в анимированный рисунок, и откройте его "
    "в браузере."};
