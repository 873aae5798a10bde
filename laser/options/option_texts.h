// The user texts of the option sheets, their pages, the language, help and About commands, in English and
// Russian.
#pragma once

#include "cadlib/messages.h"

// [SECTION] Sheets and commands
inline constexpr TwoLanguageText kSystemSheetCaption{"Configuration of the system", "Конфигурация системы"};
inline constexpr TwoLanguageText kDrawingSheetCaption{"Configuration of the current file",
                                                      "Конфигурация текущего файла"};
inline constexpr TwoLanguageText kOptionsNotStored{
    "\nThe options could not be stored in the registry: the values shown are used until the module reads its "
    "settings again, and will be lost then. Check that the registry file can be written and confirm the sheet once "
    "more.",
    "\nПараметры не удалось сохранить в реестре: показанные значения действуют, пока модуль не перечитает свои "
    "настройки, и тогда будут потеряны. Проверьте, что файл реестра доступен для записи, и подтвердите лист ещё "
    "раз."};
inline constexpr TwoLanguageText kMenuNotLoaded{
    "\nThe menu \"%s\" could not be loaded; the language of the messages has changed.",
    "\nМеню \"%s\" загрузить не удалось; язык сообщений изменён."};
// HelpKestrion and TutorialKestrion when no program is set to open documents (a terminal), when the document is
// missing, and when the program could not be started; %s is the document's path (and the reason).
inline constexpr TwoLanguageText kDocumentIsText{
    "\nThe document is %s. No program is set to open it: open the file yourself, or start cadhost with "
    "--open-with <program> to have it opened.",
    "\nДокумент: %s. Программа для его открытия не задана: откройте файл сами или запустите cadhost с "
    "--open-with <программа>, чтобы он открывался."};
inline constexpr TwoLanguageText kDocumentMissingText{
    "\nThe document %s does not exist. Check the installation folder (DirInstall) and the help file (FileHelp) in "
    "the registry.",
    "\nДокумента %s нет. Проверьте папку установки (DirInstall) и файл справки (FileHelp) в реестре."};
inline constexpr TwoLanguageText kDocumentNotOpenedText{"\nThe document %s could not be opened: %s",
                                                        "\nНе удалось открыть документ %s: %s"};
inline constexpr TwoLanguageText kAboutCaption{"About", "О программе"};
inline constexpr TwoLanguageText kProductLine{"%s for %s", "%s для %s"};
inline constexpr TwoLanguageText kVersionText{"Version", "Версия"};
inline constexpr TwoLanguageText kOkText{"OK", "OK"};

// [SECTION] Checks
inline constexpr TwoLanguageText kWrongClampCount{"Wrong number of clamps - %s", "Неверное количество прижимов - %s"};

// [SECTION] Material page
inline constexpr TwoLanguageText kMeasurementUnits{"Measurement units", "Единицы измерения"};
inline constexpr TwoLanguageText kUnitLabel{"Unit", "Единицы"};
inline constexpr TwoLanguageText kPropertyMaterial{"Property material", "Свойства материала"};
inline constexpr TwoLanguageText kMaterialLabel{"Material", "Материал"};
inline constexpr TwoLanguageText kSelectButton{"Select...", "Выбрать..."};
inline constexpr TwoLanguageText kMaterialNumLabel{"Material Num", "Номер материала"};
inline constexpr TwoLanguageText kDensityLabel{"Density", "Плотность"};
inline constexpr TwoLanguageText kThinLabel{"Thin", "Толщина"};
inline constexpr TwoLanguageText kSaveAsButton{"Save As...", "Сохранить как..."};

// [SECTION] Display page
inline constexpr TwoLanguageText kGeometryGroup{"Geometry", "Геометрия"};
inline constexpr TwoLanguageText kProfileOutside{"Profile out side", "Внешний контур"};
inline constexpr TwoLanguageText kProfileInside{"Profile in side", "Внутренний контур"};
inline constexpr TwoLanguageText kProfileOutsideNL{"Profile out side (no lead span)", "Внешний контур (без подвода)"};
inline constexpr TwoLanguageText kProfileInsideNL{"Profile in side (no lead span)", "Внутренний контур (без подвода)"};
inline constexpr TwoLanguageText kProfileUnclose{"Profile Unclose", "Незамкнутый контур"};
inline constexpr TwoLanguageText kProfileStock{"Profile stock", "Контур листа"};
inline constexpr TwoLanguageText kToolPath{"Tool path", "Путь инструмента"};
inline constexpr TwoLanguageText kLineFeedMove{"Line Feed move", "Линия рабочего хода"};
inline constexpr TwoLanguageText kLineRapidMove{"Line Rapid move", "Линия холостого хода"};
inline constexpr TwoLanguageText kCncLineDisplay{"Cutting line display (CNC line)",
                                                 "Отображение линий резки (линии ЧПУ)"};
inline constexpr TwoLanguageText kFastMovingLineType{"Fast moving line type", "Тип линии холостого хода"};
inline constexpr TwoLanguageText kLinesWithArrows{"Lines with arrows", "Линии со стрелками"};
inline constexpr TwoLanguageText kLinesWithoutArrows{"Lines without arrows", "Линии без стрелок"};

// [SECTION] Cutting page
inline constexpr TwoLanguageText kCuttingProfile{"Cutting profile", "Резка контура"};
inline constexpr TwoLanguageText kAngleA{"Angle  (A)", "Угол  (A)"};
inline constexpr TwoLanguageText kLeadInSpanB{"Lead in span (B)", "Длина подвода (B)"};
inline constexpr TwoLanguageText kLeadOutSpanC{"Lead out span (C)", "Длина отвода (C)"};
inline constexpr TwoLanguageText kUseJumper{"Use jumper", "Использовать перемычку"};
inline constexpr TwoLanguageText kInnerFirst{"Cut inner contours first", "Сначала внутренние контуры"};
inline constexpr TwoLanguageText kEngraveFirst{"Engrave all profiles, then cut profiles",
                                               "Сначала гравировать все контуры, затем резать"};
inline constexpr TwoLanguageText kDirectionOfCutting{"Direction of cutting", "Направление резки"};
inline constexpr TwoLanguageText kAnyDirection{"Any direction (default)", "Любое (по умолчанию)"};
inline constexpr TwoLanguageText kClockwise{"Clockwise", "По часовой стрелке"};
inline constexpr TwoLanguageText kCounterClockwise{"Counter-clockwise", "Против часовой стрелки"};
inline constexpr TwoLanguageText kStartMode1{"Start point in profile - mode 1 (no unloading window)",
                                             "Точка входа в контур - режим 1 (без окна выгрузки)"};
inline constexpr TwoLanguageText kOptimizeMoving{"Optimize moving (default)",
                                                 "Оптимизировать перемещения (по умолчанию)"};
inline constexpr TwoLanguageText kEntryAngle1{"Entry in angle 1", "Вход в угол 1"};
inline constexpr TwoLanguageText kEntryAngle2{"Entry in angle 2", "Вход в угол 2"};
inline constexpr TwoLanguageText kStartMode2{"Start point in profile - mode 2 (use window unload)",
                                             "Точка входа в контур - режим 2 (с окном выгрузки)"};
inline constexpr TwoLanguageText kUseMode1{"Use mode 1 (default)", "Как в режиме 1 (по умолчанию)"};
inline constexpr TwoLanguageText kLeftBottom{"Left bottom", "Слева снизу"};
inline constexpr TwoLanguageText kLeftTop{"Left top", "Слева сверху"};
inline constexpr TwoLanguageText kRightTop{"Right Top", "Справа сверху"};
inline constexpr TwoLanguageText kRightBottom{"Right bottom", "Справа снизу"};
inline constexpr TwoLanguageText kNotToUse{"Not to use (default)", "Не использовать (по умолчанию)"};
inline constexpr TwoLanguageText kLeftToRight{"From left to right", "Слева направо"};
inline constexpr TwoLanguageText kTopToDown{"From top to down", "Сверху вниз"};
inline constexpr TwoLanguageText kRightToLeft{"From right to left", "Справа налево"};
inline constexpr TwoLanguageText kMaxOffset{"Maximum allowable offset", "Максимально допустимое смещение"};
inline constexpr TwoLanguageText kHomePointGroup{"Home point", "Исходная точка"};
inline constexpr TwoLanguageText kCutFromHome{"Cutting a point of a home", "Начинать резку из исходной точки"};
inline constexpr TwoLanguageText kReturnHome{"Return to home point", "Возврат в исходную точку"};
inline constexpr TwoLanguageText kPointHome{"Point home", "Исходная точка"};
inline constexpr TwoLanguageText kStockOrigin{"Stock - Point Origin", "Лист - точка начала"};

// [SECTION] Cut corner page
inline constexpr TwoLanguageText kUseLoops{"Use loops at the corners", "Петли на углах"};
inline constexpr TwoLanguageText kAngleLessA{"Angle less (A)", "Угол меньше (A)"};
inline constexpr TwoLanguageText kLengthL{"Length (L)", "Длина (L)"};
inline constexpr TwoLanguageText kRadiusR{"Radius (R)", "Радиус (R)"};
inline constexpr TwoLanguageText kUsePower{"Use change power at the corners", "Изменение мощности на углах"};
inline constexpr TwoLanguageText kAngle1Less{"Angle 1 less (A)", "Угол 1 меньше (A)"};
inline constexpr TwoLanguageText kLength1{"Length 1 (L)", "Длина 1 (L)"};
inline constexpr TwoLanguageText kPower1{"Power 1", "Мощность 1"};
inline constexpr TwoLanguageText kAngle2Less{"Angle 2 less (A)", "Угол 2 меньше (A)"};
inline constexpr TwoLanguageText kLength2{"Length 2 (L)", "Длина 2 (L)"};
inline constexpr TwoLanguageText kPower2{"Power 2", "Мощность 2"};
inline constexpr TwoLanguageText kPiercing{"Piercing", "Пробивка"};

// [SECTION] Profile page
inline constexpr TwoLanguageText kBridge{"Bridge", "Мостик"};
inline constexpr TwoLanguageText kBridgeWidth{"Bridge width (W)", "Ширина мостика (W)"};
inline constexpr TwoLanguageText kJamper{"Jamper", "Перемычка"};
inline constexpr TwoLanguageText kUseJamper{"Use Jamper", "Использовать перемычку"};
inline constexpr TwoLanguageText kOutputLengthA{"Output length (A)", "Длина выхода (A)"};
inline constexpr TwoLanguageText kInputLengthB{"Input length (B)", "Длина входа (B)"};
inline constexpr TwoLanguageText kTransitionWidth{"Transition width (W)", "Ширина перехода (W)"};
inline constexpr TwoLanguageText kMarkPoint{"Mark Point", "Точка разметки"};
inline constexpr TwoLanguageText kUseMarkPoint{"Use Mark point", "Использовать точку разметки"};
inline constexpr TwoLanguageText kCutLengthA{"Cut length (A)", "Длина реза (A)"};
inline constexpr TwoLanguageText kPointSize{"Point size", "Размер точки"};
inline constexpr TwoLanguageText kTrimLines{"Trim lines", "Линии обрезки"};
inline constexpr TwoLanguageText kUseTrimLines{"Use trim lines", "Использовать линии обрезки"};
inline constexpr TwoLanguageText kDistBefore{"Distance to the border stock (A)", "Расстояние до края листа (A)"};
inline constexpr TwoLanguageText kDistAfter{"Distance after border stock (B)", "Расстояние за краем листа (B)"};

// [SECTION] Options page
inline constexpr TwoLanguageText kAutoDelCopy{"Delete automatically copies of objects",
                                              "Автоматически удалять копии объектов"};
inline constexpr TwoLanguageText kAutoConnect{"Connect points distance between which less",
                                              "Соединять точки, расстояние между которыми меньше"};
inline constexpr TwoLanguageText kWarn3Point{"Display the information on objects having 3 or more common points",
                                             "Сообщать об объектах с 3 и более общими точками"};
inline constexpr TwoLanguageText kWarnUnclose{"Warn if there are open-ended contours",
                                              "Предупреждать о незамкнутых контурах"};
inline constexpr TwoLanguageText kCheckIntersect{"Check intersecting lines", "Проверять пересечение линий"};
inline constexpr TwoLanguageText kShortSegments{"Auto correction short line segments. Delete segments shorter",
                                                "Автокоррекция коротких отрезков. Удалять отрезки короче"};
inline constexpr TwoLanguageText kMinChord{"Convert arc in line if the chord less than",
                                           "Заменять дугу отрезком, если хорда меньше"};
inline constexpr TwoLanguageText kCuttingGroup{"Cutting", "Резка"};
inline constexpr TwoLanguageText kAutoCorrectLeadin{"Auto-correction Leadin at a cutting of small circles",
                                                    "Автокоррекция подвода при резке малых окружностей"};

// [SECTION] Machine page
inline constexpr TwoLanguageText kSelectPostprocessorGroup{"Select Postprocessor", "Выбор постпроцессора"};
inline constexpr TwoLanguageText kTypeMachine{"Type machine", "Тип станка"};
inline constexpr TwoLanguageText kPostprocessorLabel{"Postprocessor", "Постпроцессор"};
inline constexpr TwoLanguageText kEditButton{"Edit...", "Изменить..."};
inline constexpr TwoLanguageText kTimingGroup{"Properties for a timing of cutting",
                                              "Параметры для расчёта времени резки"};
inline constexpr TwoLanguageText kDiameterTool{"Diameter tool", "Диаметр инструмента"};
inline constexpr TwoLanguageText kCuttingFeed{"Cutting feed", "Подача резки"};
inline constexpr TwoLanguageText kCuttingFeedT2{"Cutting feed Tool 2", "Подача резки инструмента 2"};
inline constexpr TwoLanguageText kEngraveFeed{"Engrave feed", "Подача гравировки"};
inline constexpr TwoLanguageText kEngraveMarkFeed{"Engrave and mark feed", "Подача гравировки и разметки"};
inline constexpr TwoLanguageText kMarkFeed{"Mark feed", "Подача разметки"};
inline constexpr TwoLanguageText kHeatFeed{"Heat Treatment feed", "Подача термообработки"};
inline constexpr TwoLanguageText kRapidFeed{"Rapid feed", "Подача холостого хода"};
// A postprocessor whose rapid feed is no number above 0: %s the file's value, then the value the field keeps.
inline constexpr TwoLanguageText kPostRapidFeedRefused{
    "The postprocessor's RapidFeed \"%s\" is not a number above 0. The rapid feed keeps %s.",
    "RapidFeed постпроцессора \"%s\" - не число больше 0. Подача холостого хода остаётся %s."};
inline constexpr TwoLanguageText kTimeCut{"Time cut (on+off)", "Время включения (вкл+выкл)"};
inline constexpr TwoLanguageText kPostprocessorFilter{"*.MXT|*.MXT|All Files (*.*)|*.*||",
                                                      "*.MXT|*.MXT|Все файлы (*.*)|*.*||"};
inline constexpr TwoLanguageText kPostprocessorUnreadable{
    "\nThe postprocessor file %s cannot be read: it is no postprocessor file.",
    "\nФайл постпроцессора %s прочитать нельзя: это не файл постпроцессора."};

// [SECTION] Nesting, Unload and Clamp pages
inline constexpr TwoLanguageText kRectangle{"Rectangle", "Прямоугольники"};
inline constexpr TwoLanguageText kUsePairs{"Use Pairs (recommended)", "Использовать пары (рекомендуется)"};
inline constexpr TwoLanguageText kAdvanced{"Advanced", "Фигурный раскрой"};
inline constexpr TwoLanguageText kUseClusters{"Use Clusters (recommended)", "Использовать группы (рекомендуется)"};
inline constexpr TwoLanguageText kUseHole{"Use Hole", "Использовать отверстия"};
inline constexpr TwoLanguageText kPressing{"Pressing Nesting", "Плотный раскрой"};
inline constexpr TwoLanguageText kQualityNesting{"Quality Nesting", "Качество раскроя"};
inline constexpr TwoLanguageText kSpeed{"Speed", "Скорость"};
inline constexpr TwoLanguageText kQuality{"Quality", "Качество"};
inline constexpr TwoLanguageText kUnloadingOperation{"Unloading operation", "Выгрузка"};
inline constexpr TwoLanguageText kUnloadWindowSize{"Size of the unloading window", "Размер окна выгрузки"};
inline constexpr TwoLanguageText kUnloadOption{"Option unloading cut parts", "Выгрузка вырезанных деталей"};
inline constexpr TwoLanguageText kNoUnloading{"No unloading", "Без выгрузки"};
inline constexpr TwoLanguageText kUnloadAll{"Unloading for all contours", "Выгрузка всех контуров"};
inline constexpr TwoLanguageText kUnloadOutside{"Unloading for outside contours", "Выгрузка внешних контуров"};
inline constexpr TwoLanguageText kUnloadInside{"Unloading for inside contours", "Выгрузка внутренних контуров"};
inline constexpr TwoLanguageText kNoUnloadJumpers{"No unloading on contours with jumpers",
                                                  "Не выгружать контуры с перемычками"};
inline constexpr TwoLanguageText kUseClamp{"Use Clamp", "Использовать прижимы"};
inline constexpr TwoLanguageText kUseOfClamps{"Use of clamps", "Расположение прижимов"};
inline constexpr TwoLanguageText kClampCount{"Number of clamps (2-5)", "Количество прижимов (2-5)"};
inline constexpr TwoLanguageText kDistanceA{"Distance A", "Расстояние A"};
inline constexpr TwoLanguageText kDistanceB{"Distance B", "Расстояние B"};
inline constexpr TwoLanguageText kDistanceC{"Distance C", "Расстояние C"};
inline constexpr TwoLanguageText kDistanceD{"Distance D", "Расстояние D"};
inline constexpr TwoLanguageText kClampsMiddle{"Clamps in the middle of the sheet", "Прижимы по середине листа"};
inline constexpr TwoLanguageText kClampsFromA{"Distance to the first clamp A", "Расстояние до первого прижима A"};

// Told once when the unit list of the material page is switched; %s: the new unit's name.
inline constexpr TwoLanguageText kLengthsConverted{
    "\n\rThe unit is switched to %s: every length on every page of the options is converted to it (the feeds and "
    "the density stay as they are).",
    "\n\rЕдиницы переключены на %s: все длины на всех страницах настроек пересчитаны в них (подачи и плотность "
    "не меняются)."};
