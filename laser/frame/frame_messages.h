// The texts of the module's application, its command frame and its diagnostic commands, in English and Russian.
#pragma once

#include "cadlib/messages.h"

// The contour guard's message box (error icon) when the drawing has no contours.
inline constexpr TwoLanguageText kContoursNotCreatedText{
    "\nError - Contours are not created.\n\nCreate contours and repeat the command.  ",
    "\nОшибка - Контуры не созданы.\n\nСоздайте контуры и повторите команду.  "};

// One line for a registered command whose work is not in this version; %s is the command's name.
inline constexpr TwoLanguageText kCommandNotBuiltText{"\n\rThe command %s is not built yet.",
                                                      "\n\rКоманда %s ещё не реализована."};

// NCPlay, before the whole path is played.
inline constexpr TwoLanguageText kPlaySpeedHintText{
    "\n\rTo change the speed use  '+' or '-', 'Esc'- cancel\r",
    "\n\rДля изменения скорости используйте  '+' или '-', 'Esc'- отмена\r"};

// NCPlay when the drawing has contours but no cutting path yet.
inline constexpr TwoLanguageText kNothingToPlayText{
    "\n\rThere is no cutting path to play: make it first (NCSliceAuto).",
    "\n\rНет траектории резки для показа: сначала постройте её (NCSliceAuto)."};

// SetStartNesting when the current drawing has no slot of its own.
inline constexpr TwoLanguageText kNoDrawingSlotText{
    "\n\rThe current drawing has no job of the cutting-path module.",
    "\n\rУ текущего чертежа нет задания модуля траектории резки."};

// The status line: the job's counters, the processed contours and the machining time.
inline constexpr TwoLanguageText kStatusLineText{
    "Contours=%llu/%lld Out=%u/%u/%u In=%u/%u/%u/%u/%u Engr=%u/%u/%u Heat=%u Uncl=%u/%u Pt=%u/%u Stock=%u/%u "
    "Time=%lldmin%lldsec",
    "Контуры=%llu/%lld Внеш=%u/%u/%u/%u Внутр=%u/%u/%u/%u/%u/%u Грав=%u/%u/%u Терм=%u Незамк=%u/%u Тчк=%u/%u "
    "Лист=%u/%u Время=%lldмин%lldсек"};

// Diagnostic commands: these texts exist in one language only, as the developers wrote them.
inline constexpr const char* kPickEntityPromptRussianOnly = "\nВыбери объект";
inline constexpr const char* kPickPointPromptEnglishOnly = "\n\rPick a point ";

// A host message whose handling failed inside the module; %d is the message's number, %s what failed.
inline constexpr TwoLanguageText kMessageFailedText{
    "\n\rThe cutting-path module could not handle the host's message %d: %s",
    "\n\rМодуль траектории резки не смог обработать сообщение системы %d: %s"};
