// The texts of the drawing commands (contour kinds, placement, conversion), in English and Russian.
#pragma once

#include "cadlib/messages.h"

// Before the user's selection of the kind and conversion commands.
inline constexpr TwoLanguageText kSelectContoursText{"\n\rSelect contours", "\n\rВыберите контуры"};

// setJumperLine and InsertJumperPoint: their kinds are kept for a later version.
inline constexpr TwoLanguageText kReservedCommandText{"\n\r*** This command is reserved\n\r",
                                                      "\n\r*** Эта команда зарезервирована\n\r"};

// InsertMarkPoint. InsertJumperPoint asks in English only.
inline constexpr TwoLanguageText kPickPointText{"Pick a point: ", "Укажите точку: "};
inline constexpr const char* kPickPointEnglishOnly = "Pick a point: ";

// A point command whose layer could neither be found nor made; %s is the layer.
inline constexpr TwoLanguageText kPointLayerMissingText{
    "\n\rThe layer %s cannot be made current: no point was placed.",
    "\n\rСлой %s не удаётся сделать текущим: точка не поставлена."};

// MoveToPoint: the box of the contours, the corner asked for and the box after the move.
inline constexpr TwoLanguageText kAreaLineText{"\n\r%s Xmin=%.2f Ymin=%.2f Xmax=%.2f Ymax=%.2f ",
                                               "\n\r%s Xmin=%.2f Ymin=%.2f Xmax=%.2f Ymax=%.2f "};
inline constexpr TwoLanguageText kCornerLineText{"\n\r%s Xmin,Ymin [%.2f,%.2f] ",
                                                 "\n\r%s Xmin,Ymin [%.2f,%.2f] "};
inline constexpr TwoLanguageText kAreaOccupiedLabel{"Area occupied by details", "Область, занятая деталями"};
inline constexpr TwoLanguageText kInputNewCoordinatesLabel{"Input new coordinates", "Введите новые координаты"};
inline constexpr TwoLanguageText kNewCoordinatesLabel{"New coordinates", "Новые координаты"};

// Convert_Spline_to_Polyline.
inline constexpr TwoLanguageText kSegmentTypeText{"\n\rSegment Type (0-line, 1-arc) [0] ",
                                                  "\n\rТип сегментов (0-линия, 1-дуга) [0] "};
inline constexpr TwoLanguageText kSplinePrecisionText{"\n\rSpecify precision (0-99) [10] ",
                                                      "\n\rУкажите точность (0-99) [10] "};
inline constexpr TwoLanguageText kConvertedSplinesText{"\n\rConverted Splines - %i", "\n\rПреобразовано сплайнов - %i"};

// Convert_Ellipse_to_Polyline.
inline constexpr TwoLanguageText kConvertedEllipsesText{"\n\rConverted ellipses - %i",
                                                        "\n\rПреобразовано эллипсов - %i"};

// SmoothingPolyline.
inline constexpr TwoLanguageText kMaxDeviationText{"\n\rSpecify the maximum deviation of the profile [%6.4f] ",
                                                   "\n\rУкажите максимальное отклонение профиля [%6.4f] "};
inline constexpr TwoLanguageText kConvertedPolylinesText{
    "\n\rConverted polylines - %i, Points before - %i, Points after - %i",
    "\n\rПреобразовано полилиний - %i, Точек до - %i, Точек после - %i"};

// vesk_ExportContours and vesk_ReExportContours: the number of entities looked at (the same in both languages).
inline constexpr const char* kSelectedEntitiesText = "\n\rВыбрано %i примитивов";

// ExportCncInDxf: the dialog only asks for a name; no file is written, and the closing line says so.
inline constexpr const char* kExportDxfFilter = "*.dxf|*.dxf|All Files (*.*)|*.*||";
inline constexpr TwoLanguageText kExportDxfNotWrittenText{
    "\n\rNo DXF file was written to %s: this command only asks for the file name.",
    "\n\rФайл DXF %s не записан: эта команда только запрашивает имя файла."};

// CCSS, in English only.
inline constexpr const char* kCreateStockText = "\n\rCreate stock\n\r";
inline constexpr const char* kPickPointInsideText = "\n\rPick a point ";

// InsertPartLib and InsertItemLib.
inline constexpr TwoLanguageText kLoadTemplatePartText{"\n\rLoad template part\n\r",
                                                       "\n\rЗагрузка шаблона детали\n\r"};
inline constexpr TwoLanguageText kLoadTemplateItemText{
    "\n\rLoad Template item details (groove, hole) and set to the specified location\n\r",
    "\n\rЗагрузка шаблона элемента детали (паз, отверстие) и установка в указанное место\n\r"};
inline constexpr TwoLanguageText kTemplateFileNotFoundText{"File not found %s", "Файл не найден %s"};
// The filter of the template dialogs: InsertPartLib always shows the English one.
inline constexpr TwoLanguageText kTemplateFilter{"All Files (*.*)|*.*|*.dxf|*.dxf||",
                                                 "Все файлы (*.*)|*.*|*.dxf|*.dxf||"};

// The part list. Its dialogs offer drawings as "*.dxf", the files this system reads.
inline constexpr TwoLanguageText kPartListFullText{
    "The detail will be not added.\nIt is possible to place no more than 20 details.",
    "Деталь не будет добавлена.\nМожно разместить не более 20 деталей."};
// %s is the reader's reason, which names the file.
inline constexpr TwoLanguageText kPartDrawingUnreadableText{
    "The detail will be not added.\nIts drawing cannot be read:\n%s",
    "Деталь не будет добавлена.\nЕё чертёж не удаётся прочитать:\n%s"};
inline constexpr TwoLanguageText kPartFileFilter{"*.dxf|*.dxf|All Files (*.*)|*.*||",
                                                 "*.dxf|*.dxf|Все файлы (*.*)|*.*||"};
inline constexpr TwoLanguageText kInsertPartCaption{"Nesting Insert Part", "Вставка детали раскроя"};
inline constexpr TwoLanguageText kPartDxfFilesFilter{"*.dxf files", "Файлы *.dxf"};
inline constexpr TwoLanguageText kPartAllFilesFilter{"All files", "Все файлы"};

// InsertText and InsertText2.
inline constexpr TwoLanguageText kTextHeightText{"\n\rEnter the height of the text [%.1f]: ",
                                                 "\n\rВведите высоту текста [%.1f]: "};
inline constexpr TwoLanguageText kTextHeightPositiveText{
    "\n\rThe height of the text must be greater than 0 and at most %g.",
    "\n\rВысота текста должна быть больше 0 и не больше %g."};
inline constexpr TwoLanguageText kCharacterSpacingText{"\n\rDistance ratio between text characters [%.1f]: ",
                                                       "\n\rКоэффициент расстояния между символами [%.1f]: "};
inline constexpr TwoLanguageText kTextStartPointText{"\n\rPick a point ", "\n\rУкажите точку "};
inline constexpr TwoLanguageText kTextAngleText{"\n\rThe angle of rotation of text [%.2f]: ",
                                                "\n\rУгол поворота текста [%.2f]: "};
inline constexpr TwoLanguageText kTextStringText{"\n\rEnter the text string: ", "\n\rВведите строку текста: "};
// After a text line whose characters were not all drawn: %s the glyph folder, %s the characters with their codes.
inline constexpr TwoLanguageText kCharactersNotDrawnText{
    "\n\rNot drawn, there is no glyph drawing for them in %s: %s",
    "\n\rНе нарисованы, для них нет чертежа символа в %s: %s"};
// The same when the glyph folder itself is missing (a wrong installation folder).
inline constexpr TwoLanguageText kGlyphFolderMissingText{
    "\n\rNothing was drawn: the folder of glyph drawings %s does not exist. Check the installation folder "
    "(DirInstall in the registry).",
    "\n\rНичего не нарисовано: папки чертежей символов %s нет. Проверьте папку установки (DirInstall в "
    "реестре)."};
