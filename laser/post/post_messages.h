// The texts of the postprocessor file, the template language and the postprocessor runtime, in English and
// Russian.
#pragma once

#include "cadlib/messages.h"

// The postprocessor file cannot be opened; %s is its path.
inline constexpr TwoLanguageText kPostFileNotFoundText{"The file is not found: \n\r%s", "Файл не найден: \n\r%s"};

// The first line lacks the file's mark; %s is the path.
inline constexpr TwoLanguageText kPostFileBadText{"Bad the file: %s     \n\rSelect other file",
                                                  "Не верно указан файл: %s     \n\rВыбери другой файл"};

// The file exists but cannot be read (no right to read it, too large): %s names the file and the reason.
inline constexpr TwoLanguageText kPostFileUnreadableText{"The postprocessor file cannot be read: %s\n\rSelect other file",
                                                         "Файл постпроцессора не читается: %s\n\rВыбери другой файл"};

// A damaged postprocessor file: %s the path, %d the line, %s what is wrong there (one of the reasons below).
inline constexpr TwoLanguageText kPostFileDamagedText{
    "The postprocessor file %s is damaged at line %d:\n\r%s\n\rSelect other file",
    "Файл постпроцессора %s повреждён в строке %d:\n\r%s\n\rВыбери другой файл"};

// Reasons of kPostFileDamagedText.
inline constexpr TwoLanguageText kReasonNulByte{
    "it holds a NUL byte, so it is no text file (a binary file, or a copy that was damaged).",
    "в нём нулевой байт, значит это не текстовый файл (двоичный файл или повреждённая копия)."};
inline constexpr TwoLanguageText kReasonStrayCarriageReturn{
    "it holds a carriage return that ends no line (line ends of another system, or a copy that was damaged).",
    "в нём символ возврата каретки, который не завершает строку (концы строк другой системы или повреждённая "
    "копия)."};
inline constexpr TwoLanguageText kReasonNoVersion{"the file ends before its version line.",
                                                  "файл кончается до строки версии."};
inline constexpr TwoLanguageText kReasonFileEndsBeforeValue{"the file ends before the value of %s.",
                                                            "файл кончается до значения %s."};
inline constexpr TwoLanguageText kReasonBlockTooLong{
    "the value of %s has %lld lines, but the file ends after %d of them.",
    "значение %s состоит из %lld строк, но файл кончается после %d из них."};
inline constexpr TwoLanguageText kReasonBadBlockCount{"the line count of %s is not a number: \"%s\".",
                                                      "число строк %s - не число: \"%s\"."};
inline constexpr TwoLanguageText kReasonBadValue{"the value of %s %s", "значение %s %s"};
inline constexpr TwoLanguageText kReasonNotNumber{"is not a number.", "не является числом."};
inline constexpr TwoLanguageText kReasonNotInteger{"is not a whole number.", "не является целым числом."};
inline constexpr TwoLanguageText kReasonGeneralKeyCount{
    "the section ###General holds %d key lines; it must hold each of its 12 keys once.",
    "раздел ###General содержит %d строк ключей; в нём должен быть каждый из 12 ключей по одному разу."};
inline constexpr TwoLanguageText kReasonSectionMissing{"the section ###%s is missing.",
                                                       "нет раздела ###%s."};
inline constexpr TwoLanguageText kReasonEndFileMissing{"the line \"###EndFile\" is missing.",
                                                       "нет строки \"###EndFile\"."};
inline constexpr TwoLanguageText kReasonSectionCount{
    "the file holds %d section headers and %s \"###EndFile\"; the nine sections and \"###EndFile\" are expected.",
    "в файле %d заголовков разделов и %s \"###EndFile\"; ожидаются девять разделов и \"###EndFile\"."};
inline constexpr TwoLanguageText kWordWith{"a line", "строка"};
inline constexpr TwoLanguageText kWordWithout{"no line", "нет строки"};
inline constexpr TwoLanguageText kReasonUnexpectedLine{"the line \"%s\" is no section of the file.",
                                                       "строка \"%s\" - не раздел файла."};

// The writer could not write the file: %s names the file and the reason. The old file is untouched.
inline constexpr TwoLanguageText kPostFileNotWrittenText{"The postprocessor file is not written: %s",
                                                         "Файл постпроцессора не записан: %s"};
// A value that would not read back as it is; the first %s is the key, the second why.
inline constexpr TwoLanguageText kPostValueNotStorableText{
    "The postprocessor file is not written: the value of %s %s",
    "Файл постпроцессора не записан: значение %s %s"};
inline constexpr TwoLanguageText kReasonValueHasLineBreak{"holds a line break.", "содержит перевод строки."};
inline constexpr TwoLanguageText kReasonValueTooLong{"is longer than %d characters.",
                                                     "длиннее %d символов."};
inline constexpr TwoLanguageText kReasonLineTooLong{"holds a line longer than %d characters.",
                                                    "содержит строку длиннее %d символов."};

// A template with a keyword that the language does not know: the keyword, then the template.
inline constexpr TwoLanguageText kUnknownKeywordText{
    "\nERROR!!!\nAn unknown keyword <%s>\n\nin the line:\n\n%s",
    "\nОШИБКА!!!\nНеизвестное ключевое слово <%s>\n\nв линии:\n\n%s"};
// A template with a "<" that opens a keyword and that no ">" closes (write "<<" for the character).
inline constexpr TwoLanguageText kUnpairedOpenText{
    "\nERROR!!!\nA \"<\" without its \">\" (write \"<<\" for the character)\n\nin the line:\n\n%s",
    "\nОШИБКА!!!\nСимвол \"<\" без парного \">\" (для самого символа пишите \"<<\")\n\nв линии:\n\n%s"};

// The selected postprocessor file cannot be opened; %s is its file name.
inline constexpr TwoLanguageText kRuntimeFileNotFoundText{
    "\nERROR!!!\n\nThe file of postprocessor '%s' is not found.    \nChoose an other postprocessor.",
    "\nОШИБКА!!!\n\nФайл постпроцессора '%s' не найден.    \nВыбери другой постпроцессор"};

// A postprocessor refused at load: the file name, the key, why.
inline constexpr TwoLanguageText kRuntimeRefusedText{
    "\nERROR!!!\n\nThe postprocessor '%s' cannot be used: the key %s %s\nChoose an other postprocessor.",
    "\nОШИБКА!!!\n\nПостпроцессор '%s' нельзя использовать: ключ %s %s\nВыбери другой постпроцессор"};
// A template of the postprocessor that does not compile: the file name, the key, why.
inline constexpr TwoLanguageText kRuntimeTemplateRefusedText{
    "\nERROR!!!\n\nThe postprocessor '%s' cannot be used: the template %s does not compile:\n%s\nChoose an other "
    "postprocessor.",
    "\nОШИБКА!!!\n\nПостпроцессор '%s' нельзя использовать: шаблон %s не компилируется:\n%s\nВыбери другой "
    "постпроцессор"};
inline constexpr TwoLanguageText kReasonUnknownKeywordIn{"an unknown keyword <%s> in the line %s",
                                                         "неизвестное ключевое слово <%s> в линии %s"};
inline constexpr TwoLanguageText kReasonUnpairedOpenIn{
    "a \"<\" without its \">\" (write \"<<\" for the character) in the line %s",
    "символ \"<\" без парного \">\" (для самого символа пишите \"<<\") в линии %s"};
inline constexpr TwoLanguageText kReasonScaleNotPositive{"must be a number greater than 0, at most 100000.",
                                                         "должно быть числом больше 0, не более 100000."};
inline constexpr TwoLanguageText kReasonUnitNotKnown{"must be mm or inc.", "должно быть mm или inc."};
inline constexpr TwoLanguageText kReasonBlockStartOutOfRange{"must be a whole number from 0 to 99999999.",
                                                             "должно быть целым числом от 0 до 99999999."};
inline constexpr TwoLanguageText kReasonBlockStepOutOfRange{"must be a whole number from 1 to 99999.",
                                                            "должно быть целым числом от 1 до 99999."};
inline constexpr TwoLanguageText kReasonDecimalsOutOfRange{"must give 0 to 9 decimals (as in 4.3).",
                                                           "должно задавать от 0 до 9 знаков после точки (как 4.3)."};
inline constexpr TwoLanguageText kReasonBlockFormat{
    "may hold only the flags - + 0 and blank followed by a width of at most 32 (as in 04).",
    "может содержать только флаги - + 0 и пробел, за ними ширину не более 32 (как 04)."};
inline constexpr TwoLanguageText kReasonTemplateCallsItself{
    "runs itself through <TRIM-LINE> or <CLAMP>.",
    "вызывает сам себя через <TRIM-LINE> или <CLAMP>."};

// A coordinate format that gives no decimals at a scale of 1 or less: told on the command line when the
// postprocessor is loaded (the file name, the key, its value), refused by the editor (the reason).
inline constexpr TwoLanguageText kWholeUnitFormatNote{
    "\n\rThe postprocessor '%s' writes X and Y in whole millimetres (whole inches for Unit inc): its key %s is "
    "\"%s\", which gives no decimals (4.3 gives 3).",
    "\n\rПостпроцессор '%s' пишет X и Y в целых миллиметрах (в целых дюймах для Unit inc): его ключ %s равен "
    "\"%s\", без знаков после точки (4.3 даёт 3)."};
inline constexpr TwoLanguageText kReasonWholeUnitFormat{
    "gives no decimals: X and Y would be written in whole millimetres (whole inches for Unit inc). Write 4.3 for "
    "3 decimals.",
    "не задаёт знаков после точки: X и Y писались бы в целых миллиметрах (в целых дюймах для Unit inc). Для 3 "
    "знаков пишите 4.3."};
