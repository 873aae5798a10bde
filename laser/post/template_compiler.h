// The template language of the NC output: its keywords, a template's compiled form and the compiler.
//
// A template is literal text with keywords in angle brackets, "<N-CODE>G01<X-COORD><Y-COORD><EOB>". "<<" and
// ">>" write a single "<" or ">". Line breaks of a multi-line template are removed before compiling, so each
// output line needs its own <EOB>. A ">" that no "<" opened, a "<" that no ">" closes and an unknown keyword are
// compile errors (the editor reports them at once); any other character, "|" included, is literal text, and a
// literal has no length limit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The keywords with the numbers of their compiled form. `Literal` and `SetCuttingMode` tokens carry a text.
enum class TemplateKeyword : int {
    EOB = 0,                  // end of block: write the block; also "<13>" and "<10>"
    Literal = 1,              // literal text
    NCode = 8,                // N-CODE: block number
    Motion = 10,              // MOTION: motion word when the motion changed
    MotionAll = 11,           // MOTION-ALL: motion word always; forces this run's coordinates
    XCoord = 20,              // X-COORD
    YCoord = 21,              // Y-COORD
    XCoordAll = 22,           // X-COORD-ALL
    YCoordAll = 23,           // Y-COORD-ALL
    XCoordAbsoluteAll = 24,   // X-COORD-ABSOLUTE-ALL
    YCoordAbsoluteAll = 25,   // Y-COORD-ABSOLUTE-ALL
    ArcX = 26,                // ARC-X: X value of the arc centre
    ArcY = 27,                // ARC-Y
    ArcR = 28,                // ARC-R: signed radius
    Feed = 29,                // FEED: feed when it changed
    ArcR2 = 30,               // ARC-R2: radius, negative beyond half a turn
    CompOff = 31,             // COMP-OFF
    Comp = 32,                // COMP: compensation word when the wanted state differs from the written one
    DComp = 33,               // D-COMP: the armed diameter-offset word
    CompAll = 34,             // COMP-ALL
    CutOn = 40,               // CUT-ON: nothing
    CutOff = 41,              // CUT-OFF: nothing
    MaterialNum = 48,         // MATERIAL-NUM
    NameFileProgram = 49,     // NAME-FILE-PROGRAM
    NameProgram = 50,         // NAME-PROGRAM
    NamePostprocessor = 51,   // NAME-POSTPROCESSOR
    Material = 52,            // MATERIAL
    Thin = 53,                // THIN "%.3f"
    Format = 54,              // FORMAT "%.3f X %.3f"
    ListSizeX = 55,           // LIST-SIZE-X "%.2f"
    ListSizeY = 56,           // LIST-SIZE-Y "%.2f"
    Thin0 = 57,               // THIN.0
    Thin10 = 58,              // THINx10.0
    ListSizeX0 = 59,          // LIST-SIZE-X.0
    ListSizeY0 = 60,          // LIST-SIZE-Y.0
    Time = 66,                // TIME "%i MIN %.1f SEC"
    Data = 67,                // DATA: nothing
    TrimLine = 70,            // TRIM-LINE: runs TrimLineStr when the job has a trim line
    TrimLineX1 = 71,          // TRIM-LINE-X, TRIM-LINE-X1
    TrimLineY1 = 72,          // TRIM-LINE-Y1
    TrimLineX2 = 73,          // TRIM-LINE-X2
    TrimLineY2 = 74,          // TRIM-LINE-Y2
    Clamp = 75,               // CLAMP: runs ClampStr when clamps are present or in use
    Clamp1X = 76,             // CLAMP1-X
    Clamp2X = 77,             // CLAMP2-X
    Clamp3X = 78,             // CLAMP3-X
    CuttingModeText = 100,    // WJL: the current cutting-mode text
    SetCuttingMode = 201,     // SETCUTTINGMODE <text>: the text when it differs from the last one written
};

// One token of a compiled template.
struct TemplateToken {
    TemplateKeyword keyword = TemplateKeyword::Literal;
    std::string text;  // the literal, or the cutting-mode text; empty for other keywords

    bool operator==(const TemplateToken&) const = default;
};

// A template compiled once: its tokens in template order. An empty template has none and does nothing.
struct CompiledTemplate {
    std::vector<TemplateToken> tokens;

    bool empty() const { return tokens.empty(); }
    // Whether a token runs `keyword` (the nesting of TRIM-LINE and CLAMP is checked with this).
    bool uses(TemplateKeyword keyword) const;
};

// Why a template did not compile.
enum class TemplateFault {
    None,
    UnknownKeyword,  // a keyword the language does not know
    UnpairedOpen,    // a "<" without its ">"
};

// The keyword of a bracket's text (exact and case-sensitive; "SETCUTTINGMODE" is recognised when the text
// begins with it, its text being what follows the first blank). False when the text names no keyword.
bool LookUpTemplateKeyword(std::string_view name, TemplateToken& token);

// Compiles `text` into `result`: 0 on success, -1 on a fault. `result` then holds the tokens before the fault.
// With `report` 1 a fault is shown in a message box (error icon) naming the keyword and the template; with 0 it
// is silent. `fault` and `keyword`, when given, receive what went wrong and the unknown keyword.
int CompileTemplate(std::string_view text, CompiledTemplate& result, int report, TemplateFault* fault = nullptr,
                    std::string* keyword = nullptr);
