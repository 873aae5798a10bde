// The texts of the statistics window (NCInfo): its caption, group and row labels and the value words, in English
// and Russian.
#pragma once

#include "cadlib/messages.h"

inline constexpr TwoLanguageText kGeomInfoCaption{"Info Geometry/Cutting", "Информация о геометрии и резке"};

inline constexpr TwoLanguageText kGeomInfoGeneral{"General", "Общие"};
inline constexpr TwoLanguageText kGeomInfoCutting{"Cutting properties", "Параметры резки"};
inline constexpr TwoLanguageText kGeomInfoMaterial{"Material consumption", "Расход материала"};
inline constexpr TwoLanguageText kGeomInfoContours{"Properties contours", "Свойства контуров"};

inline constexpr TwoLanguageText kGeomInfoUnit{"Unit", "Единицы"};
inline constexpr TwoLanguageText kGeomInfoMaterialName{"Material", "Материал"};
inline constexpr TwoLanguageText kGeomInfoThin{"Thin", "Толщина"};
inline constexpr TwoLanguageText kGeomInfoDensity{"Density", "Плотность"};
inline constexpr TwoLanguageText kGeomInfoArea{"Area surface", "Площадь"};
inline constexpr TwoLanguageText kGeomInfoMass{"Mass", "Масса"};

inline constexpr TwoLanguageText kGeomInfoAllContours{"All of contours", "Всего контуров"};
inline constexpr TwoLanguageText kGeomInfoOutside{"Outside contours", "Наружные контуры"};
inline constexpr TwoLanguageText kGeomInfoNoLeadOut{"NoLeadOut contours", "Наружные без подвода"};
inline constexpr TwoLanguageText kGeomInfoCutOutTool2{"CutOut Tool 2", "Наружные инструментом 2"};
inline constexpr TwoLanguageText kGeomInfoJumperOut{"JumperLineOut contours", "Наружные с перемычками"};
inline constexpr TwoLanguageText kGeomInfoInside{"Inside contours", "Внутренние контуры"};
inline constexpr TwoLanguageText kGeomInfoNoLeadIn{"NoLeadIn contours", "Внутренние без подвода"};
inline constexpr TwoLanguageText kGeomInfoCutInTool2{"CutIn Tool 2", "Внутренние инструментом 2"};
inline constexpr TwoLanguageText kGeomInfoJumperIn{"JumperLineIn contours", "Внутренние с перемычками"};
inline constexpr TwoLanguageText kGeomInfoCommon{"CommonLine contours", "Общие линии реза"};
inline constexpr TwoLanguageText kGeomInfoInsideCut{"InsideCutLine contours", "Линии внутреннего реза"};
inline constexpr TwoLanguageText kGeomInfoEngrave{"Engrave contours", "Гравировка"};
inline constexpr TwoLanguageText kGeomInfoEngraveMark{"Engrave and mark", "Гравировка и маркировка"};
inline constexpr TwoLanguageText kGeomInfoMark{"Mark contours", "Маркировка"};
inline constexpr TwoLanguageText kGeomInfoHeat{"Heat treatment contours", "Термообработка"};
inline constexpr TwoLanguageText kGeomInfoUnclosed{"Unclose contours -Warning!", "Незамкнутые - внимание!"};
inline constexpr TwoLanguageText kGeomInfoNoClose{"No close contours", "Разомкнутые контуры"};
inline constexpr TwoLanguageText kGeomInfoPointMark{"Point Mark", "Точки маркировки"};
inline constexpr TwoLanguageText kGeomInfoPointJumper{"Point Jumper", "Точки перемычек"};
inline constexpr TwoLanguageText kGeomInfoStockOut{"StockOut contours", "Наружные контуры листа"};
inline constexpr TwoLanguageText kGeomInfoStockIn{"StockIn contours", "Внутренние контуры листа"};

inline constexpr TwoLanguageText kGeomInfoPostprocessor{"Postprocessor", "Постпроцессор"};
inline constexpr TwoLanguageText kGeomInfoFeedCut{"Cutting feed", "Подача резки"};
inline constexpr TwoLanguageText kGeomInfoFeedCutT2{"Cutting feed Tool 2", "Подача резки инстр. 2"};
inline constexpr TwoLanguageText kGeomInfoFeedEngrave{"Engrave feed", "Подача гравировки"};
inline constexpr TwoLanguageText kGeomInfoFeedEngraveMark{"Engrave and mark feed", "Подача грав. и маркировки"};
inline constexpr TwoLanguageText kGeomInfoFeedMark{"Mark feed", "Подача маркировки"};
inline constexpr TwoLanguageText kGeomInfoFeedHeat{"Heat Treatment feed", "Подача термообработки"};
inline constexpr TwoLanguageText kGeomInfoLengthCut{"Length feed move", "Длина резки"};
inline constexpr TwoLanguageText kGeomInfoLengthCutT2{"Length feed move Tool 2", "Длина резки инстр. 2"};
inline constexpr TwoLanguageText kGeomInfoLengthEngrave{"Length engave move", "Длина гравировки"};
inline constexpr TwoLanguageText kGeomInfoLengthEngraveMark{"Length engave and mark", "Длина грав. и маркировки"};
inline constexpr TwoLanguageText kGeomInfoLengthMark{"Length mark move", "Длина маркировки"};
inline constexpr TwoLanguageText kGeomInfoLengthHeat{"Length heat treatment", "Длина термообработки"};
inline constexpr TwoLanguageText kGeomInfoLengthRapid{"Length rapid move", "Длина холостого хода"};
inline constexpr TwoLanguageText kGeomInfoStartMode{"Mode cut in start point", "Начало резки"};
inline constexpr TwoLanguageText kGeomInfoLeadIn{"Length of inside of contours", "Длина подвода"};
inline constexpr TwoLanguageText kGeomInfoLeadOut{"Length of outside contours", "Длина отвода"};
inline constexpr TwoLanguageText kGeomInfoTime{"Processing time", "Время обработки"};

inline constexpr TwoLanguageText kGeomInfoUsed{"Used", "Использовано"};
inline constexpr TwoLanguageText kGeomInfoBurnt{"Burnt", "Выжжено"};
inline constexpr TwoLanguageText kGeomInfoScrap{"Scrap", "Отход"};
inline constexpr TwoLanguageText kGeomInfoRecovery{"Metal recovery", "Использование металла"};

// Values shown as words.
inline constexpr TwoLanguageText kGeomInfoAtHome{"A cut is at home", "От исходной точки"};
inline constexpr TwoLanguageText kGeomInfoAtStart{"A cut is a start point", "От начальной точки"};
inline constexpr TwoLanguageText kGeomInfoNoStock{"A stock is absent", "Лист отсутствует"};
inline constexpr TwoLanguageText kGeomInfoTimeFormat{"%i min %.1f sec", "%i мин %.1f сек"};
