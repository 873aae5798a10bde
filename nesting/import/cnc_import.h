// The CNC program import: programs turned back into drawings, each saved beside its program (ImportCNCDWG), or
// the first one drawn into the current drawing (ImportCNCACAD).
#pragma once

#include <filesystem>
#include <string>

#include "nesting/import/cnc_program_reader.h"

// Largest program the import reads, in bytes.
inline constexpr std::size_t kMaxCncProgramBytes = 256u << 20;
// Lines not read that are told one by one; the others of a program are told as a count.
inline constexpr int kToldLinesNotRead = 20;

enum class CncConversionOutcome {
    Drawn,          // drawn into the current drawing, which is not saved
    Saved,          // drawn and saved under the drawing path
    NothingToSave,  // the program has no cutting move: its rapid moves are drawn, nothing is saved
    CannotOpen,     // the program cannot be read (error says why); the drawing is left as it was
    SaveFailed,     // drawn, but the drawing could not be written (error says why)
};

struct CncConversion {
    CncConversionOutcome outcome = CncConversionOutcome::CannotOpen;
    std::string error;
    int linesNotRead = 0;
};

// Reads the program, empties the current drawing and draws the program into it: cutting moves in colour 5, rapid
// moves in colour 3 (unless the answers drop them). Lines not read are told on the command line with their
// number. When any cutting move was drawn the view is zoomed to the drawing's extents and, when `drawing` is not
// empty, the drawing is saved there (an existing file is kept as .bak).
CncConversion ConvertCncProgram(const std::filesystem::path& program, const std::filesystem::path& drawing,
                                const CncImportAnswers& answers);

// The drawing a program is saved as: the program with its file name's extension (if any) replaced by ".dxf".
std::filesystem::path DrawingPathOfProgram(const std::filesystem::path& program);

// ImportCNCDWG: every program chosen becomes a drawing beside it, listed in Import_ISO_DWG.log in their folder.
void ImportCncFilesToDwg();
// ImportCNCACAD: the first program chosen is drawn into the current drawing.
void ImportCncIntoDrawing();
