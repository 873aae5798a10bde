// The messages of the job state and of the job stored in the drawing, in both languages.
#pragma once

#include "cadlib/messages.h"

// Message box (stop icon) when the stored job's version is none of the three this module reads.
inline constexpr TwoLanguageText kMsgRecreateContours = {
    "Please recreate geometrical contours.",
    "Пожалуйста, создайте геометрические контуры заново."};
// Message box (OK) after a stored job could not be read.
inline constexpr TwoLanguageText kMsgErrorReadingContours = {
    "Error reading of data contours\n\rRecreate contours",
    "Ошибка чтения данных контуров\n\rСоздайте контуры заново"};
// Message box (OK) when an old nesting marker names another material than the default one.
inline constexpr TwoLanguageText kMsgErrorReadingMaterial = {
    "Error reading material properties.\n\rPlease set the material",
    "Ошибка чтения свойств материала.\n\rПожалуйста, задайте материал"};
// Printed on a new line when a CAM line type cannot be loaded; %s is its name.
inline constexpr TwoLanguageText kMsgCannotLoadLinetype = {
    "ERROR. I can't load line type %s ",
    "ОШИБКА. Не удаётся загрузить тип линии %s "};
// Message box (warning) once per session for the CAM line types that cannot be loaded; the first %s is the
// line-type file, the second the names. The box must be answered: a printed line scrolls away unread.
inline constexpr TwoLanguageText kMsgLinetypesNotLoaded = {
    "These line types cannot be loaded from %s:\n\r%s\n\rLines of these types are drawn Continuous. "
    "Rapid moves still go with the beam off: the path, its times and the NC program do not depend on line types.",
    "Эти типы линий не удаётся загрузить из %s:\n\r%s\n\rЛинии этих типов рисуются сплошными. "
    "Холостые ходы по-прежнему идут с выключенным лучом: путь, его время и программа ЧПУ не зависят от типов линий."};
// Printed with the format "%s\n\r" when the drawing refuses the job's extended data.
inline constexpr TwoLanguageText kMsgApplicationNotRegistered = {
    "*** Application Kestrion not register in the drawing!!!",
    "*** Приложение Kestrion не зарегистрировано в чертеже!!!"};
// Message box (error icon) when a drawing is opened while every job slot is in use; %d is the number of slots.
inline constexpr TwoLanguageText kMsgTooManyDrawings = {
    "%d drawings are open already.\n\rThe cutting job of this drawing is not kept: close another drawing "
    "and open this one again.",
    "Уже открыто чертежей: %d.\n\rЗадание на резку этого чертежа не ведётся: закройте другой чертёж "
    "и откройте этот снова."};
// Printed when a command runs in a drawing that has no job slot.
inline constexpr TwoLanguageText kMsgDrawingNotTracked = {
    "\n\rThis drawing has no cutting job: too many drawings are open. Close it and open it again.",
    "\n\rУ этого чертежа нет задания на резку: открыто слишком много чертежей. Закройте его и откройте снова."};

// Printed once when a new job takes its unit from the drawing and that is not the Unit setting's: the drawing's
// unit, the job's (the same), the settings' unit.
inline constexpr TwoLanguageText kMsgJobUnitOfDrawing = {
    "\n\rThe drawing is drawn in %s: the job is in %s; the lengths of the settings (in %s) are converted.",
    "\n\rЧертёж выполнен в единицах \"%s\": задание ведётся в единицах \"%s\"; длины из настроек (в единицах "
    "\"%s\") пересчитываются."};
// Printed once when a new job's drawing is drawn in units no machine is set in: the drawing's units, the job's
// (the Unit setting's).
inline constexpr TwoLanguageText kMsgJobUnitOfSetting = {
    "\n\rThe drawing is drawn in %s, in which no machine works: the job is in %s, as the Unit setting says.",
    "\n\rЧертёж выполнен в единицах \"%s\", в которых станки не работают: задание ведётся в единицах \"%s\", "
    "как задаёт настройка Unit."};
inline constexpr TwoLanguageText kUnitNameMillimetres = {"millimetres", "миллиметры"};
inline constexpr TwoLanguageText kUnitNameInches = {"inches", "дюймы"};
inline constexpr TwoLanguageText kUnitNameFeet = {"feet", "футы"};
inline constexpr TwoLanguageText kUnitNameCentimetres = {"centimetres", "сантиметры"};
inline constexpr TwoLanguageText kUnitNameMetres = {"metres", "метры"};
