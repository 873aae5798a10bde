// Choosing a material file and saving one under a new name, through the host's file dialogs.
//
// Both dialogs show the filter "*.MAT|*.MAT|All Files (*.*)|*.*||" (its Russian twin by the library's language
// flag), add the extension "MAT" to a name typed without one, start in the given folder with the given name,
// have no owner window and never change the process's working folder.
#pragma once

#include <string>
#include <string_view>

// Lets the user pick a material file and reads it (ReadMaterialFile). folder and fileName are in and out,
// density and number out:
//   0   the user cancelled (nothing changes), or a material was read: folder = the chosen file's folder with
//       its trailing separator, fileName = its name with the extension, density and number = its values;
//   -1  the chosen file cannot be read or is no material file (see ReadMaterialFile); nothing changes, and a
//       message box says what is wrong with the file and on which line (neither module told it, and a wrong
//       density was taken as 0).
// The open dialog only takes a file that exists.
int ChooseMaterialFile(std::string& folder, std::string& fileName, std::string& density, std::string& number);

enum class MaterialSaveResult {
    Saved,      // the file was written
    Cancelled,  // the user cancelled the dialog; nothing was written
    Failed,     // the file could not be written: the user was told in a message box, and an old file stays as it was
};

// The material page's Save As: a save dialog starting at folder and fileName; on OK the material file is
// written (WriteMaterialFile) with the density and number texts as they are. The dialog asks before it replaces
// an existing file and takes a name that does not exist yet. chosenPath gets the path the user chose (for Saved
// and Failed), so that the page can take its folder and name.
MaterialSaveResult SaveMaterialFileAs(const std::string& folder, const std::string& fileName,
                                      std::string_view density, std::string_view number, std::string& chosenPath);
