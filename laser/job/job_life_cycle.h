// When the stored job is written, read, collected and erased, and how every command prepares its drawing; the
// handlers of the host's drawing messages.
#pragma once

#include <string_view>

class CLaserSettings;

// Makes the working drawing ready for a command: identifies its slot, starts a job where there is none (or a
// nesting result's job), loads the CAM line types, makes the CAM layers, makes "0" current and writes the job.
// Answers 0; when the drawing has no slot (all slots in use), nothing is done and the answer is -1.
int PrepareDrawingJob(CLaserSettings& settings);
// Writes the current job into the drawing: the tag, then the contour directory with its batches, the path summary
// and the job settings. Kinds that take no leads are stored with closure 2. Answers 0; -1 without a current job.
int WriteJobData(CLaserSettings& settings);
// Reads the job of the version the slot found at load. 0 when read (or when the version is none of the three);
// -1 after a failed read: the head texts are erased, a fresh job is started and the user is told.
int ReadJobData(CLaserSettings& settings);
// Reads what the drawing holds at load: a stored job, a nesting-result marker, or nothing. Answers 0, or -1 when
// the stored version is not one of the three (the user is told, the text erased, status 0).
int LoadJobTexts(CLaserSettings& settings);
// Before contour creation: takes over the material of a nesting-result marker (and erases the marker), or for a
// drawing marked as a nesting start the material of the last nesting run. Answers the status found (0 when none).
int CollectJobTexts(CLaserSettings& settings);
// Erases the head texts of the current slot whose handles are set and clears the handles. Answers 0.
int EraseJobTexts(CLaserSettings& settings);

// The host's drawing messages. Each works on the working drawing and answers 0.
// Load drawing: the project name is emptied and the drawing gets a slot with what it stores.
int OnLoadDrawing(CLaserSettings& settings);
// After UNDO (or REDO) changed the working drawing: its slot forgets the job it held and reads the job again from
// what the drawing now holds (its job texts, contours and path groups), as at opening; a drawing that holds no job
// any more has none. The slot keeps its material and its mark as a nesting start. Answers 0; -1 when the drawing
// has no slot.
int OnDrawingUndone(CLaserSettings& settings);
// Unload drawing: the drawing's slot is freed (a drawing without a slot frees nothing).
int OnUnloadDrawing(CLaserSettings& settings);
// Save: the job is brought up to date and written into the drawing; the job and its texts stay as they are.
int OnSaveDrawing(CLaserSettings& settings);
