// The commands around the user's settings and information: the two option sheets, the language of menus and
// messages, the help file, the tutorial. (AboutKestrion is in about_dialog.h.)
#pragma once

// NCConfig: the system options sheet, then the nesting module reloads its options.
void CommandNCConfig();
// IniKestrion: the current drawing's options sheet, for a drawing whose contours exist; ModeEndPoint is the same
// afterwards.
void CommandIniKestrion();
// KestrionLangEN and KestrionLangRU: the product menu in that language, the module's messages, the registry and
// the nesting module.
void CommandKestrionLangEN();
void CommandKestrionLangRU();
// HelpKestrion: the help file opened for the user.
void CommandHelpKestrion();
// TutorialKestrion: the tutorial of the module's language opened for the user.
void CommandTutorialKestrion();
