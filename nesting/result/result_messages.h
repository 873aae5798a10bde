// Texts of the nested result: the sheet summary line, the report of the summary dialog, and what the drawing of a
// sheet says when something could not be drawn.
#pragma once

#include "cadlib/messages.h"

// A sheet was asked for but no stock holds parts (information box).
inline constexpr TwoLanguageText kNoPlacedDetails{"There are no placed details\n\rCheck up the initial data",
                                                  "Детали не размещены\n\rПроверьте исходные данные"};
// Printf arguments: the sheet number (from 1), the number of sheets, the parts drawn, the parts of the job
// (clamps not counted), the metal recovery in percent.
inline constexpr TwoLanguageText kSheetSummary{
    "\n\rStock=%i/%i Parts=%i/%i Metal recovery=%.2f%% ",
    "\n\rЗаготовка=%i/%i Деталей=%i/%i Использование металла=%.2f%% "};
// The drawing refused the "Kstr" application: the marker stays without its data (English only).
inline constexpr const char* kMarkerAppNotRegistered =
    "*** Application Kestrion is not registered in the drawing!!!\n\r";

// Printf arguments: the block name, the number of parts of it that could not be inserted.
inline constexpr TwoLanguageText kPartsNotInserted{
    "\n\rThe block '%s' could not be inserted: %i part(s) are not drawn and not counted ",
    "\n\rБлок '%s' не удалось вставить: деталей не нарисовано и не учтено - %i "};
// Printf argument: the block name of the sheet's stock or of a clamp.
inline constexpr TwoLanguageText kBlockNotInserted{"\n\rThe block '%s' could not be inserted ",
                                                   "\n\rБлок '%s' не удалось вставить "};

// The report of the summary dialog.
inline constexpr TwoLanguageText kReportNoPlacedDetails{"There are no placed details.\r\nCheck initial data.",
                                                        "Нет размещенных деталей.\r\nПроверьте исходные данные."};
// Printf arguments: the number of sheets, the parts placed and the parts of the job (clamps not counted).
inline constexpr TwoLanguageText kReportHead{"Stock        = %i\r\nNesting Parts = %i/%i\r\n\r\n",
                                             "Заготовка   = %i\r\nРазмещено деталей = %i/%i\r\n\r\n"};
inline constexpr TwoLanguageText kReportNotNestedHead{
    "============= List of parts that are not nested =============\r\n",
    "========== Список деталей которые не размещены ==========\r\n"};
inline constexpr const char* kReportNotNestedFoot = "==============================================\r\n\r\n";
// Printf arguments: the block name, the copies placed, the quantity, the width and height of the drawing.
inline constexpr TwoLanguageText kReportNotNestedLine{"%s   \t%i/%i\t  Size=%.2fx%.2f\r\n",
                                                      "%s   \t%i/%i\t  Размер=%.2fx%.2f\r\n"};
// Printf arguments: the sheet number, the stock's block name, the parts on it, the parts of the job (clamps not
// counted), the metal recovery in percent.
inline constexpr TwoLanguageText kReportCurrentStock{
    "Current Stock %i : %s\r\nPart = %i/%i\r\nMetal recovery=%.2f%% ",
    "Текущая заготовка %i : %s\r\nДеталей = %i/%i\r\nИспользование металла=%.2f%% "};
inline constexpr TwoLanguageText kReportStock{"Stock %i : %s\r\nPart = %i/%i\r\nMetal recovery=%.2f%% ",
                                              "Заготовка %i : %s\r\nДеталей = %i/%i\r\nИспользование металла=%.2f%% "};
inline constexpr const char* kReportStockSeparator = "\r\n===============================\r\n";
// Printf arguments: the running number, the block name, the copies on this sheet, the quantity.
inline constexpr const char* kReportStockPartLine = "\r\n%2i) %s  %i/%i";
// The summary dialog's caption.
inline constexpr TwoLanguageText kInfoNestingCaption{"Info Nesting", "Информация о раскрое"};
inline constexpr TwoLanguageText kInfoNestingOk{"OK", "OK"};
// A drawing that belonged to a file gets a sheet (or a job's blocks) in place of its content. Printf arguments:
// the file, the drawing's new title.
inline constexpr TwoLanguageText kDrawingLeavesItsFile{
    "\n%s is kept as it is on disk: the drawing now shows the nesting as %s (save it under a name of its own).",
    "\n%s остаётся на диске как был: чертёж теперь показывает раскрой как %s (сохраните его под своим именем)."};
