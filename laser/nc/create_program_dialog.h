// The program-creation dialog: the user confirms or changes the program name, the output file, the postprocessor
// and the six feeds of one NC program before it is written.
#pragma once

#include <string>

#include "host/ui/dialog.h"

// The values the dialog edits, all texts. The caller fills them before the dialog is shown and takes them over
// after OK; Cancel leaves them as they were.
struct NcProgramHeader {
    std::string programName;
    std::string fileName;             // full path of the NC program to write
    std::string postprocessorFile;    // file name of the postprocessor (*.MXT)
    std::string postprocessorFolder;  // its folder, with a trailing separator after a pick
    std::string feedCut;
    std::string feedCutT2;
    std::string feedEngrave;
    std::string feedEngraveAndMark;
    std::string feedMark;
    std::string feedHeatTreatment;
    std::string ncExtension;          // extension of the postprocessor's NC files, without the point

    bool operator==(const NcProgramHeader&) const = default;
};

// Control ids of the dialog.
inline constexpr int kCreateProgramTemplateId = 214;
inline constexpr int kProgramNameEdit = 249;
inline constexpr int kOutputFileEdit = 255;
inline constexpr int kOutputFileButton = 256;
inline constexpr int kPostprocessorEdit = 225;
inline constexpr int kPostprocessorButton = 304;
inline constexpr int kFeedCutEdit = 232;
inline constexpr int kFeedCutT2Edit = 436;
inline constexpr int kFeedEngraveEdit = 317;
inline constexpr int kFeedEngraveAndMarkEdit = 254;
inline constexpr int kFeedMarkEdit = 228;
inline constexpr int kFeedHeatTreatmentEdit = 320;

// Characters a feed field accepts: digits and the point, no sign.
inline constexpr const char* kFeedCharacters = "01234567890.";

// The NC file dialog's filter for NC files of extension `ext`: "*.ext|*.ext" followed by the drawings and all
// files, in the module's language. An empty extension gives entries that match no file.
std::string NcFileFilter(const std::string& ext);

class CDialogCreateProgram : public host::ui::Dialog {
public:
    explicit CDialogCreateProgram(host::ui::Window* parent = nullptr);

    NcProgramHeader header;

protected:
    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
    bool onCommand(int id, int code, host::ui::Window* control) override;
    // OK refuses a feed whose whole text is not one number (it gets back its first value) or that is not above 0, with the field's name, and leaves the focus on it.
    void onOK() override;

private:
    void ChooseOutputFile();
    void ChoosePostprocessor();
    std::string* FeedField(int id);
    // The feed of the edit `id` as the dialog opened with it.
    const std::string* OpenedFeed(int id) const;

    bool checkingFeeds_ = false;  // true while OK reads the fields
    NcProgramHeader opened_;      // the header as the dialog opened
};
