// Preparing the postprocessor runtime from a postprocessor: conversions, refusals and the compile of every
// template.
#include "laser/post/postprocessor_runtime.h"

#include <string_view>
#include <utility>

#include "host/sys/folders.h"
#include "host/sys/number_text.h"
#include "host/sys/paths.h"
#include "host/ui/message_box.h"
#include "laser/post/post_messages.h"
#include "laser/post/postprocessor_file.h"

namespace {

// The folder of the installation that holds the shipped postprocessors.
constexpr const char* kShippedFolderName = "post";

void ShowRefusal(const std::string& name, const char* key, const TwoLanguageText& reason) {
    host::ui::messageBox(FormatLocalized(kRuntimeRefusedText, name.c_str(), key, Localized(reason)), {},
                         host::ui::MB_OK | host::ui::MB_ICONERROR);
}

// A number text as the runtime reads it: the leading number, 0 when there is none.
double NumberOf(const std::string& text) { return host::sys::parseLeadingReal(text).value; }

int MachineTypeCodeOf(std::string_view type) {
    if (type == "Laser") return kMachineLaser;
    if (type == "Flame") return kMachineFlame;
    if (type == "Waterjet") return kMachineWaterjet;
    if (type == "Diamond") return kMachineDiamond;
    return kMachineUnknown;
}

}  // namespace

int DecimalsOfFormat(std::string_view format) {
    int piece = 0;
    std::size_t pos = 0;
    while (pos < format.size()) {
        std::size_t end = format.find('.', pos);
        if (end == std::string_view::npos) end = format.size();
        if (end > pos) {
            if (++piece == 2) {
                const host::sys::LeadingInteger number = host::sys::parseLeadingInteger(format.substr(pos, end - pos));
                if (number.value > INT32_MAX || number.value < INT32_MIN) return INT32_MAX;
                return static_cast<int>(number.value);
            }
        }
        pos = end + 1;
    }
    return 0;
}

bool WritesWholeUnits(std::string_view format, std::string_view scale) {
    if (DecimalsOfFormat(format) != 0) return false;
    const host::sys::Parsed<double> value = host::sys::parseReal(scale);
    return !value.ok() || value.value <= 1.0;
}

bool ParseBlockNumberFormat(std::string_view text, BlockNumberFormat& format) {
    BlockNumberFormat parsed;
    std::size_t pos = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '-') parsed.leftAlign = true;
        else if (c == '+') parsed.plusSign = true;
        else if (c == ' ') parsed.blankSign = true;
        else if (c == '0') parsed.zeroPad = true;
        else break;
    }
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') return false;
        parsed.width = parsed.width * 10 + (c - '0');
        if (parsed.width > kMaxBlockNumberWidth) return false;
    }
    format = parsed;
    return true;
}

int PreparePostprocessorRuntime(const PostprocessorSettings& s, const std::string& name,
                                PostprocessorRuntime& runtime, const PostKey** refusedKey) {
    if (refusedKey) *refusedKey = nullptr;
    auto refuse = [&](PostSection section, const char* key, const TwoLanguageText& reason) {
        ShowRefusal(name, key, reason);
        if (refusedKey) *refusedKey = FindPostKey(section, key);
        return -1;
    };
    // The refusals first: each would make a program that looks right and is not (a zero scale puts every point
    // at the origin and drops every move as "unchanged"; a template that runs itself never ends).
    // Every number the program holds is multiplied by the scale: beyond its bound a coordinate is no machine's.
    const host::sys::Parsed<double> scale = host::sys::parseReal(host::sys::trimBlanks(s.ScaleXYZ), 0.0, kMaxScaleXYZ);
    if (!scale.ok() || !(scale.value > 0.0)) {
        return refuse(PostSection::Format, "ScaleXYZ", kReasonScaleNotPositive);
    }
    const std::string_view unit = host::sys::trimBlanks(s.Unit);
    if (unit != "mm" && unit != "inc") return refuse(PostSection::General, "Unit", kReasonUnitNotKnown);
    // The block numbers: an empty start and step are taken only by a post that writes none.
    const bool numbered = !s.NCode.empty();
    const std::string_view startText = host::sys::trimBlanks(s.NCodeStart);
    const host::sys::Parsed<std::int64_t> blockStart = host::sys::parseInteger(startText, 0, kMaxBlockStart);
    if (!blockStart.ok() && (numbered || !startText.empty())) {
        return refuse(PostSection::Format, "NCodeStart", kReasonBlockStartOutOfRange);
    }
    const std::string_view stepText = host::sys::trimBlanks(s.NCodeInc);
    const host::sys::Parsed<std::int64_t> blockStep = host::sys::parseInteger(stepText, 1, kMaxBlockStep);
    if (!blockStep.ok() && (numbered || !stepText.empty())) {
        return refuse(PostSection::Format, "NCodeInc", kReasonBlockStepOutOfRange);
    }
    const int decimals = DecimalsOfFormat(s.XFormat);
    if (decimals < 0 || decimals > kMaxOutputDecimals) {
        return refuse(PostSection::Format, "XFormat", kReasonDecimalsOutOfRange);
    }
    const int feedDecimals = DecimalsOfFormat(s.FEEDFormat);
    if (feedDecimals < 0 || feedDecimals > kMaxOutputDecimals) {
        return refuse(PostSection::Format, "FEEDFormat", kReasonDecimalsOutOfRange);
    }
    BlockNumberFormat blockFormat;
    if (!ParseBlockNumberFormat(s.NFormat, blockFormat)) {
        return refuse(PostSection::Format, "NFormat", kReasonBlockFormat);
    }

    PostprocessorRuntime r;
    r.CuttingModeTexts = runtime.CuttingModeTexts;
    r.LeadText = runtime.LeadText;
    r.EXTFile = s.EXTFile;
    r.NamePostprocessor = s.NamePostprocessor;
    r.MachineTypeCode = MachineTypeCodeOf(s.MachineType);
    r.UnitCode = unit == "inc" ? 1 : 0;
    r.CutCompensation = s.CutCompensation != 0 ? 1 : 0;
    r.Absolute = s.DefaultAbsolute != 0 ? 1 : 0;
    r.ReturnToHomePoint = s.ReturnToHomePoint != 0 ? 1 : 0;
    r.UseProfilesCut = s.UseProfilesCut != 0 ? 1 : 0;
    r.RapidStr = s.RapidStr;
    r.LinearStr = s.LinearStr;
    r.CircCWStr = s.CircCWStr;
    r.CircCCWStr = s.CircCCWStr;
    r.CompOffStr = s.CompOffStr;
    r.CompLeftStr = s.CompLeftStr;
    r.CompRightStr = s.CompRightStr;
    r.CompDiamStr = s.CompDiamStr;
    r.UnloadWinMinSizeX = NumberOf(s.UnloadWinMinSizeXStr);
    r.UnloadWinMinSizeY = NumberOf(s.UnloadWinMinSizeYStr);
    r.UnloadWinMaxSizeX = NumberOf(s.UnloadWinMaxSizeXStr);
    r.UnloadWinMaxSizeY = NumberOf(s.UnloadWinMaxSizeYStr);
    r.NCode = s.NCode;
    r.XCode = s.XCode;
    r.YCode = s.YCode;
    r.ICode = s.ICode;
    r.JCode = s.JCode;
    r.RCode = s.RCode;
    r.FEEDCode = s.FEEDCode;
    r.NFormat = s.NFormat;
    r.BlockFormat = blockFormat;
    r.Decimals = static_cast<std::int16_t>(decimals);
    r.PlusSign = !s.XFormat.empty() && s.XFormat.front() == '+' ? 1 : 0;
    r.FeedDecimals = static_cast<std::int16_t>(feedDecimals);
    r.Precision = 1;
    for (int i = 0; i < decimals; ++i) r.Precision *= 10;
    r.NCodeStart = blockStart.ok() ? static_cast<int>(blockStart.value) : 0;
    r.NCodeInc = blockStep.ok() ? static_cast<int>(blockStep.value) : 0;
    r.ScaleXYZ = scale.value;
    r.CenterArcAbsolute = s.CenterArcAbsolute;
    r.CenterArcIncremental = s.CenterArcIncremental;
    r.Output_IJ_Always = s.Output_IJ_Always;
    r.ProfCutDist1 = NumberOf(s.ProfCutDist1);
    r.ProfCutDist2 = NumberOf(s.ProfCutDist2);
    r.ProfMinHoleDiam = NumberOf(s.ProfMinHoleDiam);

    // The templates in the order the postprocessor lists them; the first that fails ends the load.
    const std::pair<CompiledTemplate PostprocessorRuntime::*, const std::string*> templates[] = {
        {&PostprocessorRuntime::ClampStr, &s.ClampStr},
        {&PostprocessorRuntime::TrimLineStr, &s.TrimLineStr},
        {&PostprocessorRuntime::UnloadOpenWinStr, &s.UnloadOpenWinStr},
        {&PostprocessorRuntime::UnloadStopPrgStr, &s.UnloadStopPrgStr},
        {&PostprocessorRuntime::MoveRapidStr, &s.MoveRapidStr},
        {&PostprocessorRuntime::MoveLinearStr, &s.MoveLinearStr},
        {&PostprocessorRuntime::CircleStr, &s.CircleStr},
        {&PostprocessorRuntime::CutOnStr, &s.CutOnStr},
        {&PostprocessorRuntime::CutOffStr, &s.CutOffStr},
        {&PostprocessorRuntime::CutT2OnStr, &s.CutT2OnStr},
        {&PostprocessorRuntime::CutT2OffStr, &s.CutT2OffStr},
        {&PostprocessorRuntime::EngraveOnStr, &s.EngraveOnStr},
        {&PostprocessorRuntime::EngraveOffStr, &s.EngraveOffStr},
        {&PostprocessorRuntime::EngraveAndMarkOnStr, &s.EngraveAndMarkOnStr},
        {&PostprocessorRuntime::EngraveAndMarkOffStr, &s.EngraveAndMarkOffStr},
        {&PostprocessorRuntime::MarkOnStr, &s.MarkOnStr},
        {&PostprocessorRuntime::MarkOffStr, &s.MarkOffStr},
        {&PostprocessorRuntime::HeatTreatmentOnStr, &s.HeatTreatmentOnStr},
        {&PostprocessorRuntime::HeatTreatmentOffStr, &s.HeatTreatmentOffStr},
        {&PostprocessorRuntime::StartPrgStr, &s.StartPrgStr},
        {&PostprocessorRuntime::EndPrgStr, &s.EndPrgStr},
        {&PostprocessorRuntime::EndFileStr, &s.EndFileStr},
        {&PostprocessorRuntime::ProfLead, &s.ProfLead},
        {&PostprocessorRuntime::ProfCutStr, &s.ProfCutStr},
        {&PostprocessorRuntime::ProfCutSm1, &s.ProfCutSm1},
        {&PostprocessorRuntime::ProfCutSm2, &s.ProfCutSm2},
        {&PostprocessorRuntime::ProfCutSm3, &s.ProfCutSm3},
        {&PostprocessorRuntime::ZSensorOn, &s.ZSensorOn},
        {&PostprocessorRuntime::ZSensorOff, &s.ZSensorOff},
        {&PostprocessorRuntime::ProfCutUnlo, &s.ProfCutUnlo},
    };
    for (const auto& [field, text] : templates) {
        TemplateFault fault = TemplateFault::None;
        std::string keyword;
        if (CompileTemplate(*text, r.*field, 0, &fault, &keyword) == 0) continue;
        // The message names the key as well as the keyword: the user must find the template in the editor.
        const PostKey* key = nullptr;
        for (const PostKey& k : PostKeys())
            if (k.text != nullptr && &(s.*k.text) == text) key = &k;
        const std::string keyName = key ? std::string(PostSectionName(key->section)) + " " + key->name : "";
        const std::string why = fault == TemplateFault::UnknownKeyword
                                    ? FormatLocalized(kReasonUnknownKeywordIn, keyword.c_str(), text->c_str())
                                    : FormatLocalized(kReasonUnpairedOpenIn, text->c_str());
        host::ui::messageBox(FormatLocalized(kRuntimeTemplateRefusedText, name.c_str(), keyName.c_str(), why.c_str()),
                             {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
        if (refusedKey) *refusedKey = key;
        return -1;
    }

    // <TRIM-LINE> runs TrimLineStr and <CLAMP> runs ClampStr: either one inside its own template, or each inside
    // the other, would run without end.
    const bool trimRunsTrim = r.TrimLineStr.uses(TemplateKeyword::TrimLine);
    const bool clampRunsClamp = r.ClampStr.uses(TemplateKeyword::Clamp);
    const bool crossed = r.TrimLineStr.uses(TemplateKeyword::Clamp) && r.ClampStr.uses(TemplateKeyword::TrimLine);
    if (trimRunsTrim || crossed) {
        return refuse(PostSection::Code, "TrimLineStr", kReasonTemplateCallsItself);
    }
    if (clampRunsClamp) {
        return refuse(PostSection::Code, "ClampStr", kReasonTemplateCallsItself);
    }
    // Whole millimetres are no refusal (a post may mean them) but never go unsaid.
    if (WritesWholeUnits(s.XFormat, s.ScaleXYZ))
        PrintLocalized(kWholeUnitFormatNote, name.c_str(), "XFormat", s.XFormat.c_str());
    runtime = std::move(r);
    return 0;
}

int LoadPostprocessorRuntimeFrom(const std::filesystem::path& path, PostprocessorRuntime& runtime) {
    PostprocessorSettings settings;
    if (ReadPostprocessorFile(settings, path) != 0) return -1;
    return PreparePostprocessorRuntime(settings, path.filename().string(), runtime);
}

std::filesystem::path ShippedPostprocessorFolder() { return host::sys::installFolder() / kShippedFolderName; }

std::filesystem::path PostprocessorPathOf(const std::string& folder, const std::string& fileName) {
    if (folder.empty()) return ShippedPostprocessorFolder() / host::sys::toNativePath(fileName);
    return host::sys::toNativePath(host::sys::joinPath(folder, fileName));
}

int LoadSelectedPostprocessor(const std::string& folder, const std::string& fileName, PostprocessorRuntime& runtime) {
    const std::filesystem::path path = PostprocessorPathOf(folder, fileName);
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(path, error)) {
        host::ui::messageBox(FormatLocalized(kRuntimeFileNotFoundText, fileName.c_str()), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }
    return LoadPostprocessorRuntimeFrom(path, runtime);
}

PostprocessorRuntime& PostRuntime() {
    static PostprocessorRuntime runtime;
    return runtime;
}
