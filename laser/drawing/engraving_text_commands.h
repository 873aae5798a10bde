// The commands that write text as engraving geometry: every character a small glyph drawing of the installation,
// inserted at its place, size and angle and exploded into lines on layer "EngraveLine".
#pragma once

#include <string>

// One font of glyph drawings and what its command remembers between runs.
struct EngravingFont {
    const char* folder;      // under the installation folder: "Fonts/Arial"
    const char* filePrefix;  // before the four hexadecimal digits of a character's UTF-16 code unit: "" or "S"
};

// The remembered values of a command, kept while the module is loaded.
struct EngravingTextValues {
    double height = 0.0;     // height of a capital, drawing units; 0 while none was given
    double ratio = 1.0;      // factor on the gaps between characters
    double angle = -1000.0;  // direction of the text line, radians; -1000 before the first run
};

// The glyph drawing of one UTF-16 code unit in a font folder: "<DirInstall>/Fonts/Arial/0041.dwg".
std::string GlyphDrawingPath(const EngravingFont& font, char16_t unit);

// InsertText (glyphs of Fonts/Arial) and InsertText2 (glyphs of Fonts/Simplex), each with its own remembered
// values. The frame has prepared the job.
void CommandInsertText();
void CommandInsertText2();

// The values each command remembers, to be looked at or forgotten (as when the module is loaded anew).
EngravingTextValues& InsertTextValues();
EngravingTextValues& InsertText2Values();
