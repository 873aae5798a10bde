// The host's commands for drawings as a whole: NEW, OPEN, QSAVE, SAVEAS, CLOSE, and QUIT, which ends the session.
#pragma once

namespace host::ed {

// The group the document commands are registered in.
inline constexpr const char* kDocumentCommandGroup = "HOSTDOCUMENTS";

// Adds the document commands to the command stack (again: replaces them). Their answers:
//   NEW                       a new drawing, current
//   OPEN    file name         the drawing opened as one more document, current (a failure says why)
//   QSAVE   [file name]       saves the current drawing to its file; a new drawing asks for a name first
//   SAVEAS  file name         saves the current drawing to that file, which it then belongs to
//   CLOSE   [Yes/No]          closes the current drawing; a changed one asks "Save changes to ...? [Yes/No]"
//                             first (Enter is Yes; Yes on a new drawing asks for a name)
//   QUIT                      ends the command loop: cadhost then saves what --save asks and stops
// A save that would write over a file other than the drawing's own asks "<name> already exists. Replace it?
// [Yes/No] <No>: " first; Enter (No) keeps that file and the drawing is not saved (QUIT and CLOSE then stay).
// File names are whole answers: spaces in them are kept. Enter or Esc at a file-name prompt cancels.
void registerDocumentCommands();

}  // namespace host::ed
