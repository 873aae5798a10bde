// The cells' attributes: run-time class records, setters and getters that resolve unset values against the
// grid's template cells, copying a cell, and the template cell's font, margin and default size.
#include "nesting/grid/grid_cell.h"

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::ColorRef;
using host::ui::Font;
using host::ui::LogFont;

// [SECTION] Run-time class records

bool GridCellClass::IsDerivedFrom(const GridCellClass& other) const {
    // A class chain is a few links long; the bound only guards against a record that names itself.
    constexpr int kMaxDepth = 32;
    const GridCellClass* c = this;
    for (int depth = 0; c != nullptr && depth < kMaxDepth; ++depth, c = c->base)
        if (c == &other) return true;
    return false;
}

std::unique_ptr<CGridCellBase> GridCellClass::CreateObject() const {
    return factory ? factory() : nullptr;
}

const GridCellClass& CGridCellBase::GetThisClass() {
    static const GridCellClass record{"CGridCellBase", nullptr, nullptr};
    return record;
}

const GridCellClass& CGridCellBase::GetRuntimeClass() const { return GetThisClass(); }

const GridCellClass& CGridCell::GetThisClass() {
    static const GridCellClass record{"CGridCell", &CGridCellBase::GetThisClass(), &CreateGridCell<CGridCell>};
    return record;
}

const GridCellClass& CGridCell::GetRuntimeClass() const { return GetThisClass(); }

const GridCellClass& CGridDefaultCell::GetThisClass() {
    static const GridCellClass record{"CGridDefaultCell", &CGridCell::GetThisClass(),
                                      &CreateGridCell<CGridDefaultCell>};
    return record;
}

const GridCellClass& CGridDefaultCell::GetRuntimeClass() const { return GetThisClass(); }

// [SECTION] The abstract cell

CGridCellBase::~CGridCellBase() = default;

void CGridCellBase::PutState(unsigned state) { state_ = state; }

CGridDefaultCell* CGridCellBase::QueryDefaults() const {
    CGridCtrl* grid = QueryGrid();
    if (grid == nullptr) return nullptr;
    return grid->TemplateFor(TestFixedRow(), TestFixedColumn());
}

void CGridCellBase::CopyFrom(const CGridCellBase& source) {
    PutGrid(source.QueryGrid());
    PutText(source.QueryText());
    PutImage(source.QueryImage());
    PutData(source.QueryData());
    PutState(source.QueryState());
    PutFormat(source.QueryFormat());
    PutTextColour(source.QueryTextColour());
    PutBackColour(source.QueryBackColour());
    PutFont(source.HasDefaultFont() ? nullptr : source.QueryFont());
    PutMargin(source.QueryMargin());
}

bool CGridCellBase::ComputeTextRect(host::ui::Rect&) { return true; }

bool CGridCellBase::BeginEditing(int, int, const host::ui::Rect&, host::ui::Point, int, unsigned) { return false; }

bool CGridCellBase::CheckEditText(int, int, const std::string&) { return true; }

bool CGridCellBase::CursorHook() {
    if (host::ui::Desktop* desktop = host::ui::Desktop::current()) desktop->setCursor(host::ui::IDC_ARROW);
    return true;
}

// [SECTION] The plain cell

CGridCell::~CGridCell() = default;

void CGridCell::PutFont(const LogFont* font) {
    if (font == nullptr)
        font_.reset();
    else
        font_ = std::make_unique<LogFont>(*font);
}

unsigned CGridCell::QueryFormat() const {
    if (format_ != kUnsetFormat) return format_;
    const CGridDefaultCell* defaults = QueryDefaults();
    return defaults ? defaults->QueryFormat() : 0;
}

const LogFont* CGridCell::QueryFont() const {
    if (font_) return font_.get();
    const CGridDefaultCell* defaults = QueryDefaults();
    return defaults ? defaults->QueryFont() : nullptr;
}

// A font object made afresh from the cell's own description; host fonts are shared handles, so no object
// outlives a caller that still holds it selected.
Font CGridCell::QueryFontObject() const {
    if (font_) return Font::create(*font_);
    const CGridDefaultCell* defaults = QueryDefaults();
    return defaults ? defaults->QueryFontObject() : Font{};
}

int CGridCell::QueryMargin() const {
    if (margin_ >= 0) return margin_;
    const CGridDefaultCell* defaults = QueryDefaults();
    return defaults ? defaults->QueryMargin() : 0;
}

void CGridCell::SetEditor(host::ui::Window* editor) {
    editor_ = editor;
    editing_ = editor != nullptr;
}

void CGridCell::EditingFinished() {
    editing_ = false;
    editor_ = nullptr;
}

// [SECTION] The template cell

namespace {

// Without a screen to measure on, the template keeps these.
constexpr int kFallbackMargin = 3;
constexpr host::ui::Size kFallbackDefaultSize{40, 16};

// The text whose extent gives a template's default cell size: room for a dozen wide characters and a blank at
// either end.
constexpr const char* kDefaultSizeText = " XXXXXXXXXXXX ";

}  // namespace

CGridDefaultCell::CGridDefaultCell() {
    format_ = kDefaultFormat;
    textColour_ = host::ui::CLR_DEFAULT;
    backColour_ = host::ui::CLR_DEFAULT;
    host::ui::Desktop* desktop = host::ui::Desktop::current();
    const LogFont messageFont = desktop ? desktop->system().messageFont() : LogFont{};
    fontObject_ = Font::create(messageFont);
    font_ = std::make_unique<LogFont>(messageFont);
    MeasureDefaults();
}

CGridDefaultCell::~CGridDefaultCell() = default;

void CGridDefaultCell::PutFont(const LogFont* font) {
    if (font == nullptr) return;
    fontObject_ = Font::create(*font);
    font_ = std::make_unique<LogFont>(*font);
    MeasureDefaults();
}

void CGridDefaultCell::MeasureDefaults() {
    host::ui::Desktop* desktop = host::ui::Desktop::current();
    if (desktop == nullptr) {
        margin_ = kFallbackMargin;
        defaultSize_ = kFallbackDefaultSize;
        return;
    }
    host::ui::MemoryDC screen(*desktop);
    screen.selectFont(fontObject_);
    margin_ = screen.textExtent(" ").width;
    const host::ui::Size extent = screen.textExtent(kDefaultSizeText);
    defaultSize_ = {extent.width, extent.height * 3 / 2};
}
