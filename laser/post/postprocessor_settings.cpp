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
    using S = PostprocessorSettings;
    using Kind = PostValueKind;
    static const std::array<PostKey, kPostKeyCount> keys = {{
        {PostSection::General, "MachineType", Kind::Text, 20, &S::MachineType},
        {PostSection::General, "Unit", Kind::Text, 20, &S::Unit},
        {PostSection::General, "EXTFile", Kind::Text, 20, &S::EXTFile},
        {PostSection::General, "RapidFeed", Kind::Number, 20, &S::RapidFeed},
        {PostSection::General, "DefaultAbsolute", Kind::Flag, 200, nullptr, &S::DefaultAbsolute},
        {PostSection::General, "CutCompensation", Kind::Flag, 20, nullptr, &S::CutCompensation},
        {PostSection::General, "ReturnToHomePoint", Kind::Flag, 20, nullptr, &S::ReturnToHomePoint},
        {PostSection::General, "UseProfilesCut", Kind::Flag, 20, nullptr, &S::UseProfilesCut},
        {PostSection::General, "NamePostprocessor", Kind::Text, 512, &S::NamePostprocessor},
        {PostSection::General, "HomeX", Kind::Number, 40, &S::HomeX},
        {PostSection::General, "HomeY", Kind::Number, 40, &S::HomeY},
        {PostSection::General, "HomeZ", Kind::Number, 40, &S::HomeZ},
        {PostSection::Code, "InchStr", Kind::Text, 20, &S::InchStr},
        {PostSection::Code, "MetricStr", Kind::Text, 20, &S::MetricStr},
        {PostSection::Code, "AbsoluteStr", Kind::Text, 20, &S::AbsoluteStr},
        {PostSection::Code, "IncrementalStr", Kind::Text, 20, &S::IncrementalStr},
        {PostSection::Code, "RapidStr", Kind::Text, 1024, &S::RapidStr},
        {PostSection::Code, "LinearStr", Kind::Text, 1024, &S::LinearStr},
        {PostSection::Code, "CircCWStr", Kind::Text, 1024, &S::CircCWStr},
        {PostSection::Code, "CircCCWStr", Kind::Text, 1024, &S::CircCCWStr},
        {PostSection::Code, "CompOffStr", Kind::Text, 1024, &S::CompOffStr},
        {PostSection::Code, "CompLeftStr", Kind::Text, 1024, &S::CompLeftStr},
        {PostSection::Code, "CompRightStr", Kind::Text, 1024, &S::CompRightStr},
        {PostSection::Code, "CompDiamStr", Kind::Text, 1024, &S::CompDiamStr},
        {PostSection::Code, "ClampStr", Kind::Template, 1024, &S::ClampStr},
        {PostSection::Code, "TrimLineStr", Kind::Template, 1024, &S::TrimLineStr},
        {PostSection::Code, "UnloadOpenWinStr", Kind::Template, 1024, &S::UnloadOpenWinStr},
        {PostSection::Code, "UnloadStopPrgStr", Kind::Template, 1024, &S::UnloadStopPrgStr},
        {PostSection::Code, "UnloadWinMaxSizeXStr", Kind::Number, 1024, &S::UnloadWinMaxSizeXStr},
        {PostSection::Code, "UnloadWinMaxSizeYStr", Kind::Number, 1024, &S::UnloadWinMaxSizeYStr},
        {PostSection::Code, "UnloadWinMinSizeXStr", Kind::Number, 1024, &S::UnloadWinMinSizeXStr},
        {PostSection::Code, "UnloadWinMinSizeYStr", Kind::Number, 1024, &S::UnloadWinMinSizeYStr},
        {PostSection::Format, "NCode", Kind::Text, 20, &S::NCode},
        {PostSection::Format, "NFormat", Kind::Text, 20, &S::NFormat},
        {PostSection::Format, "XCode", Kind::Text, 20, &S::XCode},
        {PostSection::Format, "XFormat", Kind::Text, 20, &S::XFormat},
        {PostSection::Format, "YCode", Kind::Text, 20, &S::YCode},
        {PostSection::Format, "YFormat", Kind::Text, 20, &S::YFormat},
        {PostSection::Format, "ZCode", Kind::Text, 20, &S::ZCode},
        {PostSection::Format, "ZFormat", Kind::Text, 20, &S::ZFormat},
        {PostSection::Format, "ICode", Kind::Text, 20, &S::ICode},
        {PostSection::Format, "IFormat", Kind::Text, 20, &S::IFormat},
        {PostSection::Format, "JCode", Kind::Text, 20, &S::JCode},
        {PostSection::Format, "JFormat", Kind::Text, 20, &S::JFormat},
        {PostSection::Format, "RCode", Kind::Text, 20, &S::RCode},
        {PostSection::Format, "RFormat", Kind::Text, 20, &S::RFormat},
        {PostSection::Format, "FEEDCode", Kind::Text, 20, &S::FEEDCode},
        {PostSection::Format, "FEEDFormat", Kind::Text, 20, &S::FEEDFormat},
        {PostSection::Format, "NCodeStart", Kind::Integer, 20, &S::NCodeStart},
        {PostSection::Format, "NCodeInc", Kind::Integer, 20, &S::NCodeInc},
        {PostSection::Format, "EOBStr", Kind::Text, 20, &S::EOBStr},
        {PostSection::Format, "ScaleXYZ", Kind::Number, 20, &S::ScaleXYZ},
        {PostSection::Format, "StartComment", Kind::Text, 20, &S::StartComment},
        {PostSection::Format, "EndComment", Kind::Text, 20, &S::EndComment},
        {PostSection::Move, "RapidStr", Kind::Template, 10000, &S::MoveRapidStr},
        {PostSection::Move, "LinearStr", Kind::Template, 10000, &S::MoveLinearStr},
        {PostSection::Move, "CircleStr", Kind::Block, 10000, &S::CircleStr},
        {PostSection::CutCommand, "CutOnStr", Kind::Template, 10000, &S::CutOnStr},
        {PostSection::CutCommand, "CutOffStr", Kind::Template, 10000, &S::CutOffStr},
        {PostSection::CutCommand, "CutT2OnStr", Kind::Template, 10000, &S::CutT2OnStr},
        {PostSection::CutCommand, "CutT2OffStr", Kind::Template, 10000, &S::CutT2OffStr},
        {PostSection::CutCommand, "EngraveOnStr", Kind::Template, 10000, &S::EngraveOnStr},
        {PostSection::CutCommand, "EngraveOffStr", Kind::Template, 10000, &S::EngraveOffStr},
        {PostSection::CutCommand, "EngraveAndMarkOnStr", Kind::Template, 10000, &S::EngraveAndMarkOnStr},
        {PostSection::CutCommand, "EngraveAndMarkOffStr", Kind::Template, 10000, &S::EngraveAndMarkOffStr},
        {PostSection::CutCommand, "MarkOnStr", Kind::Template, 10000, &S::MarkOnStr},
        {PostSection::CutCommand, "MarkOffStr", Kind::Template, 10000, &S::MarkOffStr},
        {PostSection::CutCommand, "HeatTreatmentOnStr", Kind::Template, 10000, &S::HeatTreatmentOnStr},
        {PostSection::CutCommand, "HeatTreatmentOffStr", Kind::Template, 10000, &S::HeatTreatmentOffStr},
        {PostSection::ChangePower, "CPW_Edit_B10", Kind::Text, 10000, &S::CPW_Edit_B10},
        {PostSection::ChangePower, "CPW_Edit_L10", Kind::Text, 10000, &S::CPW_Edit_L10},
        {PostSection::ChangePower, "CPW_Edit_B20", Kind::Text, 10000, &S::CPW_Edit_B20},
        {PostSection::ChangePower, "CPW_Edit_L20", Kind::Text, 10000, &S::CPW_Edit_L20},
        {PostSection::ChangePower, "CPW_Edit_100", Kind::Text, 10000, &S::CPW_Edit_100},
        {PostSection::ChangePower, "CPW_Edit_90", Kind::Text, 10000, &S::CPW_Edit_90},
        {PostSection::ChangePower, "CPW_Edit_80", Kind::Text, 10000, &S::CPW_Edit_80},
        {PostSection::ChangePower, "PiercingMode", Kind::Text, 10000, &S::PiercingMode},
        {PostSection::ChangePower, "ZSensorOn", Kind::Template, 10000, &S::ZSensorOn},
        {PostSection::ChangePower, "ZSensorOff", Kind::Template, 10000, &S::ZSensorOff},
        {PostSection::Circular, "CenterArcAbsolute", Kind::Mode, 10000, nullptr, &S::CenterArcAbsolute},
        {PostSection::Circular, "CenterArcIncremental", Kind::Mode, 200, nullptr, &S::CenterArcIncremental},
        {PostSection::Circular, "Output_IJ_Always", Kind::Flag, 20, nullptr, &S::Output_IJ_Always},
        {PostSection::StartEnd, "StartPrgStr", Kind::Block, 10000, &S::StartPrgStr},
        {PostSection::StartEnd, "EndPrgStr", Kind::Block, 10000, &S::EndPrgStr},
        {PostSection::StartEnd, "EndFileStr", Kind::Block, 10000, &S::EndFileStr},
        {PostSection::Profile, "ProfLead", Kind::Template, 10000, &S::ProfLead},
        {PostSection::Profile, "ProfCutStr", Kind::Template, 10000, &S::ProfCutStr},
        {PostSection::Profile, "ProfCutSm1", Kind::Template, 10000, &S::ProfCutSm1},
        {PostSection::Profile, "ProfCutSm2", Kind::Template, 10000, &S::ProfCutSm2},
        {PostSection::Profile, "ProfCutSm3", Kind::Template, 10000, &S::ProfCutSm3},
        {PostSection::Profile, "ProfCutDist1", Kind::Number, 10000, &S::ProfCutDist1},
        {PostSection::Profile, "ProfCutDist2", Kind::Number, 10000, &S::ProfCutDist2},
        {PostSection::Profile, "ProfCutDist3", Kind::Number, 10000, &S::ProfCutDist3},
        {PostSection::Profile, "ProfCutUnlo", Kind::Template, 10000, &S::ProfCutUnlo},
        {PostSection::Profile, "ProfMinHoleDiam", Kind::Number, 10000, &S::ProfMinHoleDiam},
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
