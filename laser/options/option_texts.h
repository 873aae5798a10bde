// The user texts of the option sheets, their pages, the language, help and About commands, in English and
// Russian.
#pragma once

#include "cadlib/messages.h"

using T2 = TwoLanguageText;

// [SECTION] Sheets and commands
inline constexpr T2 kSystemSheetCaption{"Configuration of the system", "Конфигурация системы"};
inline constexpr T2 kDrawingSheetCaption{"Configuration of the current file", "Конфигурация текущего файла"};
inline constexpr T2 kOptionsNotStored{
    "\nThe options could not be stored in the registry: the values shown are used until the module reads its "
    "settings again, and will be lost then. Check that the registry file can be written and confirm the sheet once "
    "more.",
    "\nПараметры не удалось сохранить в реестре: показанные значения действуют, пока модуль не перечитает свои "
    "настройки, и тогда будут потеряны. Проверьте, что файл реестра доступен для записи, и подтвердите лист ещё "
    "раз."};
inline constexpr T2 kMenuNotLoaded{"\nThe menu \"%s\" could not be loaded; the language of the messages has changed.",
                                   "\nМеню \"%s\" загрузить не удалось; язык сообщений изменён."};
inline constexpr T2 kAboutCaption{"About", "О программе"};
inline constexpr T2 kProductLine{"%s for %s", "%s для %s"};
inline constexpr T2 kVersionText{"Version", "Версия"};
inline constexpr T2 kOkText{"OK", "OK"};

// [SECTION] Checks
inline constexpr T2 kWrongClampCount{"Wrong number of clamps - %s", "Неверное количество прижимов - %s"};

// [SECTION] Material page
inline constexpr T2 kMeasurementUnits{"Measurement units", "Единицы измерения"};
inline constexpr T2 kUnitLabel{"Unit", "Единицы"};
inline constexpr T2 kPropertyMaterial{"Property material", "Свойства материала"};
inline constexpr T2 kMaterialLabel{"Material", "Материал"};
inline constexpr T2 kSelectButton{"Select...", "Выбрать..."};
inline constexpr T2 kMaterialNumLabel{"Material Num", "Номер материала"};
inline constexpr T2 kDensityLabel{"Density", "Плотность"};
inline constexpr T2 kThinLabel{"Thin", "Толщина"};
inline constexpr T2 kSaveAsButton{"Save As...", "Сохранить как..."};

// [SECTION] Display page
inline constexpr T2 kGeometryGroup{"Geometry", "Геометрия"};
inline constexpr T2 kProfileOutside{"Profile out side", "Внешний контур"};
inline constexpr T2 kProfileInside{"Profile in side", "Внутренний контур"};
inline constexpr T2 kProfileOutsideNL{"Profile out side (no lead span)", "Внешний контур (без подвода)"};
inline constexpr T2 kProfileInsideNL{"Profile in side (no lead span)", "Внутренний контур (без подвода)"};
inline constexpr T2 kProfileUnclose{"Profile Unclose", "Незамкнутый контур"};
inline constexpr T2 kProfileStock{"Profile stock", "Контур листа"};
inline constexpr T2 kToolPath{"Tool path", "Путь инструмента"};
inline constexpr T2 kLineFeedMove{"Line Feed move", "Линия рабочего хода"};
inline constexpr T2 kLineRapidMove{"Line Rapid move", "Линия холостого хода"};
inline constexpr T2 kCncLineDisplay{"Cutting line display (CNC line)", "Отображение линий резки (линии ЧПУ)"};
inline constexpr T2 kFastMovingLineType{"Fast moving line type", "Тип линии холостого хода"};
inline constexpr T2 kLinesWithArrows{"Lines with arrows", "Линии со стрелками"};
inline constexpr T2 kLinesWithoutArrows{"Lines without arrows", "Линии без стрелок"};

// [SECTION] Cutting page
inline constexpr T2 kCuttingProfile{"Cutting profile", "Резка контура"};
inline constexpr T2 kAngleA{"Angle  (A)", "Угол  (A)"};
inline constexpr T2 kLeadInSpanB{"Lead in span (B)", "Длина подвода (B)"};
inline constexpr T2 kLeadOutSpanC{"Lead out span (C)", "Длина отвода (C)"};
inline constexpr T2 kUseJumper{"Use jumper", "Использовать перемычку"};
inline constexpr T2 kInnerFirst{"Cut inner contours first", "Сначала внутренние контуры"};
inline constexpr T2 kEngraveFirst{"Engrave all profiles, then cut profiles",
                                  "Сначала гравировать все контуры, затем резать"};
inline constexpr T2 kDirectionOfCutting{"Direction of cutting", "Направление резки"};
inline constexpr T2 kAnyDirection{"Any direction (default)", "Любое (по умолчанию)"};
inline constexpr T2 kClockwise{"Clockwise", "По часовой стрелке"};
inline constexpr T2 kCounterClockwise{"Counter-clockwise", "Против часовой стрелки"};
inline constexpr T2 kStartMode1{"Start point in profile - mode 1 (no unloading window)",
                                "Точка входа в контур - режим 1 (без окна выгрузки)"};
inline constexpr T2 kOptimizeMoving{"Optimize moving (default)", "Оптимизировать перемещения (по умолчанию)"};
inline constexpr T2 kEntryAngle1{"Entry in angle 1", "Вход в угол 1"};
inline constexpr T2 kEntryAngle2{"Entry in angle 2", "Вход в угол 2"};
inline constexpr T2 kStartMode2{"Start point in profile - mode 2 (use window unload)",
                                "Точка входа в контур - режим 2 (с окном выгрузки)"};
inline constexpr T2 kUseMode1{"Use mode 1 (default)", "Как в режиме 1 (по умолчанию)"};
inline constexpr T2 kLeftBottom{"Left bottom", "Слева снизу"};
inline constexpr T2 kLeftTop{"Left top", "Слева сверху"};
inline constexpr T2 kRightTop{"Right Top", "Справа сверху"};
inline constexpr T2 kRightBottom{"Right bottom", "Справа снизу"};
inline constexpr T2 kNotToUse{"Not to use (default)", "Не использовать (по умолчанию)"};
inline constexpr T2 kLeftToRight{"From left to right", "Слева направо"};
inline constexpr T2 kTopToDown{"From top to down", "Сверху вниз"};
inline constexpr T2 kRightToLeft{"From right to left", "Справа налево"};
inline constexpr T2 kMaxOffset{"Maximum allowable offset", "Максимально допустимое смещение"};
inline constexpr T2 kHomePointGroup{"Home point", "Исходная точка"};
inline constexpr T2 kCutFromHome{"Cutting a point of a home", "Начинать резку из исходной точки"};
inline constexpr T2 kReturnHome{"Return to home point", "Возврат в исходную точку"};
inline constexpr T2 kPointHome{"Point home", "Исходная точка"};
inline constexpr T2 kStockOrigin{"Stock - Point Origin", "Лист - точка начала"};

// [SECTION] Cut corner page
inline constexpr T2 kUseLoops{"Use loops at the corners", "Петли на углах"};
inline constexpr T2 kAngleLessA{"Angle less (A)", "Угол меньше (A)"};
inline constexpr T2 kLengthL{"Length (L)", "Длина (L)"};
inline constexpr T2 kRadiusR{"Radius (R)", "Радиус (R)"};
inline constexpr T2 kUsePower{"Use change power at the corners", "Изменение мощности на углах"};
inline constexpr T2 kAngle1Less{"Angle 1 less (A)", "Угол 1 меньше (A)"};
inline constexpr T2 kLength1{"Length 1 (L)", "Длина 1 (L)"};
inline constexpr T2 kPower1{"Power 1", "Мощность 1"};
inline constexpr T2 kAngle2Less{"Angle 2 less (A)", "Угол 2 меньше (A)"};
inline constexpr T2 kLength2{"Length 2 (L)", "Длина 2 (L)"};
inline constexpr T2 kPower2{"Power 2", "Мощность 2"};
inline constexpr T2 kPiercing{"Piercing", "Пробивка"};

// [SECTION] Profile page
inline constexpr T2 kBridge{"Bridge", "Мостик"};
inline constexpr T2 kBridgeWidth{"Bridge width (W)", "Ширина мостика (W)"};
inline constexpr T2 kJamper{"Jamper", "Перемычка"};
inline constexpr T2 kUseJamper{"Use Jamper", "Использовать перемычку"};
inline constexpr T2 kOutputLengthA{"Output length (A)", "Длина выхода (A)"};
inline constexpr T2 kInputLengthB{"Input length (B)", "Длина входа (B)"};
inline constexpr T2 kTransitionWidth{"Transition width (W)", "Ширина перехода (W)"};
inline constexpr T2 kMarkPoint{"Mark Point", "Точка разметки"};
inline constexpr T2 kUseMarkPoint{"Use Mark point", "Использовать точку разметки"};
inline constexpr T2 kCutLengthA{"Cut length (A)", "Длина реза (A)"};
inline constexpr T2 kPointSize{"Point size", "Размер точки"};
inline constexpr T2 kTrimLines{"Trim lines", "Линии обрезки"};
inline constexpr T2 kUseTrimLines{"Use trim lines", "Использовать линии обрезки"};
inline constexpr T2 kDistBefore{"Distance to the border stock (A)", "Расстояние до края листа (A)"};
inline constexpr T2 kDistAfter{"Distance after border stock (B)", "Расстояние за краем листа (B)"};

// [SECTION] Options page
inline constexpr T2 kAutoDelCopy{"Delete automatically copies of objects", "Автоматически удалять копии объектов"};
inline constexpr T2 kAutoConnect{"Connect points distance between which less",
                                 "Соединять точки, расстояние между которыми меньше"};
inline constexpr T2 kWarn3Point{"Display the information on objects having 3 or more common points",
                                "Сообщать об объектах с 3 и более общими точками"};
inline constexpr T2 kWarnUnclose{"Warn if there are open-ended contours", "Предупреждать о незамкнутых контурах"};
inline constexpr T2 kCheckIntersect{"Check intersecting lines", "Проверять пересечение линий"};
inline constexpr T2 kShortSegments{"Auto correction short line segments. Delete segments shorter",
                                   "Автокоррекция коротких отрезков. Удалять отрезки короче"};
inline constexpr T2 kMinChord{"Convert arc in line if the chord less than", "Заменять дугу отрезком, если хорда меньше"};
inline constexpr T2 kCuttingGroup{"Cutting", "Резка"};
inline constexpr T2 kAutoCorrectLeadin{"Auto-correction Leadin at a cutting of small circles",
                                       "Автокоррекция подвода при резке малых окружностей"};

// [SECTION] Machine page
inline constexpr T2 kSelectPostprocessorGroup{"Select Postprocessor", "Выбор постпроцессора"};
inline constexpr T2 kTypeMachine{"Type machine", "Тип станка"};
inline constexpr T2 kPostprocessorLabel{"Postprocessor", "Постпроцессор"};
inline constexpr T2 kEditButton{"Edit...", "Изменить..."};
inline constexpr T2 kTimingGroup{"Properties for a timing of cutting", "Параметры для расчёта времени резки"};
inline constexpr T2 kDiameterTool{"Diameter tool", "Диаметр инструмента"};
inline constexpr T2 kCuttingFeed{"Cutting feed", "Подача резки"};
inline constexpr T2 kCuttingFeedT2{"Cutting feed Tool 2", "Подача резки инструмента 2"};
inline constexpr T2 kEngraveFeed{"Engrave feed", "Подача гравировки"};
inline constexpr T2 kEngraveMarkFeed{"Engrave and mark feed", "Подача гравировки и разметки"};
inline constexpr T2 kMarkFeed{"Mark feed", "Подача разметки"};
inline constexpr T2 kHeatFeed{"Heat Treatment feed", "Подача термообработки"};
inline constexpr T2 kRapidFeed{"Rapid feed", "Подача холостого хода"};
inline constexpr T2 kTimeCut{"Time cut (on+off)", "Время включения (вкл+выкл)"};
inline constexpr T2 kPostprocessorFilter{"*.MXT|*.MXT|All Files (*.*)|*.*||", "*.MXT|*.MXT|Все файлы (*.*)|*.*||"};
inline constexpr T2 kPostprocessorUnreadable{"\nThe postprocessor file %s cannot be read: it is no postprocessor file.",
                                             "\nФайл постпроцессора %s прочитать нельзя: это не файл постпроцессора."};

// [SECTION] Nesting, Unload and Clamp pages
inline constexpr T2 kRectangle{"Rectangle", "Прямоугольники"};
inline constexpr T2 kUsePairs{"Use Pairs (recommended)", "Использовать пары (рекомендуется)"};
inline constexpr T2 kAdvanced{"Advanced", "Фигурный раскрой"};
inline constexpr T2 kUseClusters{"Use Clusters (recommended)", "Использовать группы (рекомендуется)"};
inline constexpr T2 kUseHole{"Use Hole", "Использовать отверстия"};
inline constexpr T2 kPressing{"Pressing Nesting", "Плотный раскрой"};
inline constexpr T2 kQualityNesting{"Quality Nesting", "Качество раскроя"};
inline constexpr T2 kSpeed{"Speed", "Скорость"};
inline constexpr T2 kQuality{"Quality", "Качество"};
inline constexpr T2 kUnloadingOperation{"Unloading operation", "Выгрузка"};
inline constexpr T2 kUnloadWindowSize{"Size of the unloading window", "Размер окна выгрузки"};
inline constexpr T2 kUnloadOption{"Option unloading cut parts", "Выгрузка вырезанных деталей"};
inline constexpr T2 kNoUnloading{"No unloading", "Без выгрузки"};
inline constexpr T2 kUnloadAll{"Unloading for all contours", "Выгрузка всех контуров"};
inline constexpr T2 kUnloadOutside{"Unloading for outside contours", "Выгрузка внешних контуров"};
inline constexpr T2 kUnloadInside{"Unloading for inside contours", "Выгрузка внутренних контуров"};
inline constexpr T2 kNoUnloadJumpers{"No unloading on contours with jumpers", "Не выгружать контуры с перемычками"};
inline constexpr T2 kUseClamp{"Use Clamp", "Использовать прижимы"};
inline constexpr T2 kUseOfClamps{"Use of clamps", "Расположение прижимов"};
inline constexpr T2 kClampCount{"Number of clamps (2-5)", "Количество прижимов (2-5)"};
inline constexpr T2 kDistanceA{"Distance A", "Расстояние A"};
inline constexpr T2 kDistanceB{"Distance B", "Расстояние B"};
inline constexpr T2 kDistanceC{"Distance C", "Расстояние C"};
inline constexpr T2 kDistanceD{"Distance D", "Расстояние D"};
inline constexpr T2 kClampsMiddle{"Clamps in the middle of the sheet", "Прижимы по середине листа"};
inline constexpr T2 kClampsFromA{"Distance to the first clamp A", "Расстояние до первого прижима A"};
