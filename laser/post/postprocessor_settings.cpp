// The file keys of a postprocessor in writer order, and the names of its sections and arc-centre modes.
#include "laser/post/postprocessor_settings.h"

const char* PostSectionName(PostSection section) {
    switch (section) {
        case PostSection::General: return "General";
        case PostSection::Code: return "Code";
        case PostSection::Format: return "Format";
        case PostSection::Move: return "Move";
        case PostSection::CutCommand: return "CutCommand";
        case PostSection::ChangePower: return "ChangePower";
        case PostSection::Circular: return "Circular";
        case PostSection::StartEnd: return "StartEnd";
        case PostSection::Profile: return "Profile";
    }
    return "";
}

const std::array<PostKey, kPostKeyCount>& PostKeys() {
    static const std::array<PostKey, kPostKeyCount> keys = {{
        {PostSection::General, "MachineType", PostValueKind::Text, 20, &PostprocessorSettings::MachineType},
        {PostSection::General, "Unit", PostValueKind::Text, 20, &PostprocessorSettings::Unit},
        {PostSection::General, "EXTFile", PostValueKind::Text, 20, &PostprocessorSettings::EXTFile},
        {PostSection::General, "RapidFeed", PostValueKind::Number, 20, &PostprocessorSettings::RapidFeed},
        {PostSection::General, "DefaultAbsolute", PostValueKind::Flag, 200, nullptr, &PostprocessorSettings::DefaultAbsolute},
        {PostSection::General, "CutCompensation", PostValueKind::Flag, 20, nullptr, &PostprocessorSettings::CutCompensation},
        {PostSection::General, "ReturnToHomePoint", PostValueKind::Flag, 20, nullptr, &PostprocessorSettings::ReturnToHomePoint},
        {PostSection::General, "UseProfilesCut", PostValueKind::Flag, 20, nullptr, &PostprocessorSettings::UseProfilesCut},
        {PostSection::General, "NamePostprocessor", PostValueKind::Text, 512, &PostprocessorSettings::NamePostprocessor},
        {PostSection::General, "HomeX", PostValueKind::Number, 40, &PostprocessorSettings::HomeX},
        {PostSection::General, "HomeY", PostValueKind::Number, 40, &PostprocessorSettings::HomeY},
        {PostSection::General, "HomeZ", PostValueKind::Number, 40, &PostprocessorSettings::HomeZ},
        {PostSection::Code, "InchStr", PostValueKind::Text, 20, &PostprocessorSettings::InchStr},
        {PostSection::Code, "MetricStr", PostValueKind::Text, 20, &PostprocessorSettings::MetricStr},
        {PostSection::Code, "AbsoluteStr", PostValueKind::Text, 20, &PostprocessorSettings::AbsoluteStr},
        {PostSection::Code, "IncrementalStr", PostValueKind::Text, 20, &PostprocessorSettings::IncrementalStr},
        {PostSection::Code, "RapidStr", PostValueKind::Text, 1024, &PostprocessorSettings::RapidStr},
        {PostSection::Code, "LinearStr", PostValueKind::Text, 1024, &PostprocessorSettings::LinearStr},
        {PostSection::Code, "CircCWStr", PostValueKind::Text, 1024, &PostprocessorSettings::CircCWStr},
        {PostSection::Code, "CircCCWStr", PostValueKind::Text, 1024, &PostprocessorSettings::CircCCWStr},
        {PostSection::Code, "CompOffStr", PostValueKind::Text, 1024, &PostprocessorSettings::CompOffStr},
        {PostSection::Code, "CompLeftStr", PostValueKind::Text, 1024, &PostprocessorSettings::CompLeftStr},
        {PostSection::Code, "CompRightStr", PostValueKind::Text, 1024, &PostprocessorSettings::CompRightStr},
        {PostSection::Code, "CompDiamStr", PostValueKind::Text, 1024, &PostprocessorSettings::CompDiamStr},
        {PostSection::Code, "ClampStr", PostValueKind::Template, 1024, &PostprocessorSettings::ClampStr},
        {PostSection::Code, "TrimLineStr", PostValueKind::Template, 1024, &PostprocessorSettings::TrimLineStr},
        {PostSection::Code, "UnloadOpenWinStr", PostValueKind::Template, 1024, &PostprocessorSettings::UnloadOpenWinStr},
        {PostSection::Code, "UnloadStopPrgStr", PostValueKind::Template, 1024, &PostprocessorSettings::UnloadStopPrgStr},
        {PostSection::Code, "UnloadWinMaxSizeXStr", PostValueKind::Number, 1024, &PostprocessorSettings::UnloadWinMaxSizeXStr},
        {PostSection::Code, "UnloadWinMaxSizeYStr", PostValueKind::Number, 1024, &PostprocessorSettings::UnloadWinMaxSizeYStr},
        {PostSection::Code, "UnloadWinMinSizeXStr", PostValueKind::Number, 1024, &PostprocessorSettings::UnloadWinMinSizeXStr},
        {PostSection::Code, "UnloadWinMinSizeYStr", PostValueKind::Number, 1024, &PostprocessorSettings::UnloadWinMinSizeYStr},
        {PostSection::Format, "NCode", PostValueKind::Text, 20, &PostprocessorSettings::NCode},
        {PostSection::Format, "NFormat", PostValueKind::Text, 20, &PostprocessorSettings::NFormat},
        {PostSection::Format, "XCode", PostValueKind::Text, 20, &PostprocessorSettings::XCode},
        {PostSection::Format, "XFormat", PostValueKind::Text, 20, &PostprocessorSettings::XFormat},
        {PostSection::Format, "YCode", PostValueKind::Text, 20, &PostprocessorSettings::YCode},
        {PostSection::Format, "YFormat", PostValueKind::Text, 20, &PostprocessorSettings::YFormat},
        {PostSection::Format, "ZCode", PostValueKind::Text, 20, &PostprocessorSettings::ZCode},
        {PostSection::Format, "ZFormat", PostValueKind::Text, 20, &PostprocessorSettings::ZFormat},
        {PostSection::Format, "ICode", PostValueKind::Text, 20, &PostprocessorSettings::ICode},
        {PostSection::Format, "IFormat", PostValueKind::Text, 20, &PostprocessorSettings::IFormat},
        {PostSection::Format, "JCode", PostValueKind::Text, 20, &PostprocessorSettings::JCode},
        {PostSection::Format, "JFormat", PostValueKind::Text, 20, &PostprocessorSettings::JFormat},
        {PostSection::Format, "RCode", PostValueKind::Text, 20, &PostprocessorSettings::RCode},
        {PostSection::Format, "RFormat", PostValueKind::Text, 20, &PostprocessorSettings::RFormat},
        {PostSection::Format, "FEEDCode", PostValueKind::Text, 20, &PostprocessorSettings::FEEDCode},
        {PostSection::Format, "FEEDFormat", PostValueKind::Text, 20, &PostprocessorSettings::FEEDFormat},
        {PostSection::Format, "NCodeStart", PostValueKind::Integer, 20, &PostprocessorSettings::NCodeStart},
        {PostSection::Format, "NCodeInc", PostValueKind::Integer, 20, &PostprocessorSettings::NCodeInc},
        {PostSection::Format, "EOBStr", PostValueKind::Text, 20, &PostprocessorSettings::EOBStr},
        {PostSection::Format, "ScaleXYZ", PostValueKind::Number, 20, &PostprocessorSettings::ScaleXYZ},
        {PostSection::Format, "StartComment", PostValueKind::Text, 20, &PostprocessorSettings::StartComment},
        {PostSection::Format, "EndComment", PostValueKind::Text, 20, &PostprocessorSettings::EndComment},
        {PostSection::Move, "RapidStr", PostValueKind::Template, 10000, &PostprocessorSettings::MoveRapidStr},
        {PostSection::Move, "LinearStr", PostValueKind::Template, 10000, &PostprocessorSettings::MoveLinearStr},
        {PostSection::Move, "CircleStr", PostValueKind::Block, 10000, &PostprocessorSettings::CircleStr},
        {PostSection::CutCommand, "CutOnStr", PostValueKind::Template, 10000, &PostprocessorSettings::CutOnStr},
        {PostSection::CutCommand, "CutOffStr", PostValueKind::Template, 10000, &PostprocessorSettings::CutOffStr},
        {PostSection::CutCommand, "CutT2OnStr", PostValueKind::Template, 10000, &PostprocessorSettings::CutT2OnStr},
        {PostSection::CutCommand, "CutT2OffStr", PostValueKind::Template, 10000, &PostprocessorSettings::CutT2OffStr},
        {PostSection::CutCommand, "EngraveOnStr", PostValueKind::Template, 10000, &PostprocessorSettings::EngraveOnStr},
        {PostSection::CutCommand, "EngraveOffStr", PostValueKind::Template, 10000, &PostprocessorSettings::EngraveOffStr},
        {PostSection::CutCommand, "EngraveAndMarkOnStr", PostValueKind::Template, 10000, &PostprocessorSettings::EngraveAndMarkOnStr},
        {PostSection::CutCommand, "EngraveAndMarkOffStr", PostValueKind::Template, 10000, &PostprocessorSettings::EngraveAndMarkOffStr},
        {PostSection::CutCommand, "MarkOnStr", PostValueKind::Template, 10000, &PostprocessorSettings::MarkOnStr},
        {PostSection::CutCommand, "MarkOffStr", PostValueKind::Template, 10000, &PostprocessorSettings::MarkOffStr},
        {PostSection::CutCommand, "HeatTreatmentOnStr", PostValueKind::Template, 10000, &PostprocessorSettings::HeatTreatmentOnStr},
        {PostSection::CutCommand, "HeatTreatmentOffStr", PostValueKind::Template, 10000, &PostprocessorSettings::HeatTreatmentOffStr},
        {PostSection::ChangePower, "CPW_Edit_B10", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_B10},
        {PostSection::ChangePower, "CPW_Edit_L10", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_L10},
        {PostSection::ChangePower, "CPW_Edit_B20", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_B20},
        {PostSection::ChangePower, "CPW_Edit_L20", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_L20},
        {PostSection::ChangePower, "CPW_Edit_100", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_100},
        {PostSection::ChangePower, "CPW_Edit_90", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_90},
        {PostSection::ChangePower, "CPW_Edit_80", PostValueKind::Text, 10000, &PostprocessorSettings::CPW_Edit_80},
        {PostSection::ChangePower, "PiercingMode", PostValueKind::Text, 10000, &PostprocessorSettings::PiercingMode},
        {PostSection::ChangePower, "ZSensorOn", PostValueKind::Template, 10000, &PostprocessorSettings::ZSensorOn},
        {PostSection::ChangePower, "ZSensorOff", PostValueKind::Template, 10000, &PostprocessorSettings::ZSensorOff},
        {PostSection::Circular, "CenterArcAbsolute", PostValueKind::Mode, 10000, nullptr, &PostprocessorSettings::CenterArcAbsolute},
        {PostSection::Circular, "CenterArcIncremental", PostValueKind::Mode, 200, nullptr, &PostprocessorSettings::CenterArcIncremental},
        {PostSection::Circular, "Output_IJ_Always", PostValueKind::Flag, 20, nullptr, &PostprocessorSettings::Output_IJ_Always},
        {PostSection::StartEnd, "StartPrgStr", PostValueKind::Block, 10000, &PostprocessorSettings::StartPrgStr},
        {PostSection::StartEnd, "EndPrgStr", PostValueKind::Block, 10000, &PostprocessorSettings::EndPrgStr},
        {PostSection::StartEnd, "EndFileStr", PostValueKind::Block, 10000, &PostprocessorSettings::EndFileStr},
        {PostSection::Profile, "ProfLead", PostValueKind::Template, 10000, &PostprocessorSettings::ProfLead},
        {PostSection::Profile, "ProfCutStr", PostValueKind::Template, 10000, &PostprocessorSettings::ProfCutStr},
        {PostSection::Profile, "ProfCutSm1", PostValueKind::Template, 10000, &PostprocessorSettings::ProfCutSm1},
        {PostSection::Profile, "ProfCutSm2", PostValueKind::Template, 10000, &PostprocessorSettings::ProfCutSm2},
        {PostSection::Profile, "ProfCutSm3", PostValueKind::Template, 10000, &PostprocessorSettings::ProfCutSm3},
        {PostSection::Profile, "ProfCutDist1", PostValueKind::Number, 10000, &PostprocessorSettings::ProfCutDist1},
        {PostSection::Profile, "ProfCutDist2", PostValueKind::Number, 10000, &PostprocessorSettings::ProfCutDist2},
        {PostSection::Profile, "ProfCutDist3", PostValueKind::Number, 10000, &PostprocessorSettings::ProfCutDist3},
        {PostSection::Profile, "ProfCutUnlo", PostValueKind::Template, 10000, &PostprocessorSettings::ProfCutUnlo},
        {PostSection::Profile, "ProfMinHoleDiam", PostValueKind::Number, 10000, &PostprocessorSettings::ProfMinHoleDiam},
    }};
    return keys;
}

const PostKey* FindPostKey(PostSection section, std::string_view name) {
    for (const PostKey& key : PostKeys()) {
        if (key.section == section && name == key.name) return &key;
    }
    return nullptr;
}

int CenterArcModeFromText(std::string_view text) {
    if (text == kCenterArcModeNames[kCenterArcCentreToStart]) return kCenterArcCentreToStart;
    if (text == kCenterArcModeNames[kCenterArcStartToCentre]) return kCenterArcStartToCentre;
    return kCenterArcAbsoluteCentre;
}
