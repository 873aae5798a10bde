// The mapping of layer names and entity types to contour kinds and type codes, and the entity stage's tables.
#include "laser/contours/contour_records.h"

#include <array>

#include "host/db/entity_data.h"

namespace {

struct KindName {
    std::string_view layer;
    ContourKind kind;
};

// Layers of drawn pieces, compared exactly; "JumperLine" is handled apart (point or not).
constexpr std::array<KindName, 20> kEntityLayerKinds = {{
    {"0", ContourKind::KindBase},
    {"NoCloseLine", ContourKind::NoCloseLine},
    {"EngraveLine", ContourKind::EngraveLine},
    {"CutT2Line", ContourKind::CutT2Line},
    {"EngraveAndMarkLine", ContourKind::EngraveAndMarkLine},
    {"MarkLine", ContourKind::MarkLine},
    {"NoLeadIn", ContourKind::NoLeadIn},
    {"CommonLine", ContourKind::CommonLine},
    {"MarkPoint", ContourKind::MarkPoint},
    {"HeatTreatmentLine", ContourKind::HeatTreatmentLine},
    {"InsideCutLine", ContourKind::InsideCutLine},
    {"1", ContourKind::KindLayer1},
    {"2", ContourKind::KindLayer2},
    {"3", ContourKind::KindLayer3},
    {"4", ContourKind::KindLayer4},
    {"5", ContourKind::KindLayer5},
    {"6", ContourKind::KindLayer6},
    {"7", ContourKind::KindLayer7},
    {"8", ContourKind::KindLayer8},
    {"9", ContourKind::KindLayer9},
}};

// Layers of finished polylines and circles, compared without regard to case, in this order.
constexpr std::array<KindName, 19> kContourLayerKinds = {{
    {"NoCloseLine", ContourKind::NoCloseLine},
    {"EngraveLine", ContourKind::EngraveLine},
    {"CutT2Line", ContourKind::CutT2Line},
    {"EngraveAndMarkLine", ContourKind::EngraveAndMarkLine},
    {"MarkLine", ContourKind::MarkLine},
    {"HeatTreatmentLine", ContourKind::HeatTreatmentLine},
    {"NoLeadIn", ContourKind::NoLeadIn},
    {"JumperLine", ContourKind::JumperLine},
    {"CommonLine", ContourKind::CommonLine},
    {"InsideCutLine", ContourKind::InsideCutLine},
    {"1", ContourKind::KindLayer1},
    {"2", ContourKind::KindLayer2},
    {"3", ContourKind::KindLayer3},
    {"4", ContourKind::KindLayer4},
    {"5", ContourKind::KindLayer5},
    {"6", ContourKind::KindLayer6},
    {"7", ContourKind::KindLayer7},
    {"8", ContourKind::KindLayer8},
    {"9", ContourKind::KindLayer9},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Group codes of an entity data list.
constexpr int kGroupType = 0;
constexpr int kGroupLayer = 8;

// The type name of the first group 0 item, or nullptr.
const std::string* TypeName(const host::db::ResBufList& data) {
    for (const auto& rb : data)
        if (rb.code == kGroupType) return &rb.str();
    return nullptr;
}

int CodeOfTypeName(const std::string& name) {
    if (name == "LINE") return kEntityLine;
    if (name == "ARC") return kEntityArc;
    if (name == "LWPOLYLINE") return kEntityPolyline;
    if (name == "CIRCLE") return kEntityCircle;
    if (name == "POINT") return kEntityPoint;
    return kEntityOther;
}

}  // namespace

ContourRecord EmptyStockRecord() {
    ContourRecord stock;
    stock.role = kRoleStock;
    stock.shape = kShapePolyline;
    return stock;
}

ContourKind KindFromLayerName(std::string_view layer, int entityTypeCode) {
    if (layer == "JumperLine")
        return entityTypeCode == kEntityPoint ? ContourKind::KindJumperPoint : ContourKind::JumperLine;
    for (const auto& k : kEntityLayerKinds)
        if (layer == k.layer) return k.kind;
    return ContourKind::KindUnset;
}

ContourKind ContourTableKind(std::string_view layer, bool isPoint) {
    if (isPoint) {
        if (layer == "MarkPoint") return ContourKind::MarkPoint;
        if (layer == "JumperLine") return ContourKind::KindJumperPoint;
        return ContourKind::KindUnset;
    }
    for (const auto& k : kContourLayerKinds)
        if (EqualNoCase(layer, k.layer)) return k.kind;
    return ContourKind::KindBase;
}

int GetEntityTypeCode(const host::db::ResBufList& data) {
    const std::string* name = TypeName(data);
    return name ? CodeOfTypeName(*name) : kEntityOther;
}

int GetEntityTypeCodeByName(const host::db::EntityName& entity) {
    return GetEntityTypeCode(host::db::entGet(entity));
}

int GetEntityTypeAndLayer(const host::db::ResBufList& data, std::string& layer) {
    if (data.empty()) return kEntityOther;
    layer.clear();
    for (const auto& rb : data)
        if (rb.code == kGroupLayer) {
            layer = rb.str();
            break;
        }
    if (layer == "NC_Laser" || layer == "NC_Laser_Off") return kEntityOnJobLayer;
    const std::string* name = TypeName(data);
    if (!name) return kEntityOther;
    if (*name == "POLYLINE") return kEntityPolyline;
    if (*name == "TEXT") return kEntityText;
    return CodeOfTypeName(*name);
}

void ContourEntityStage::ReleaseEntityTables() {
    ContourEntityTable.clear();
    ContourEntityTable.shrink_to_fit();
    ContourEntityCount = 0;
    NodeList.clear();
    NodeMembers.clear();
}

ContourEntityStage& ContourEntities() {
    static ContourEntityStage stage;
    return stage;
}
