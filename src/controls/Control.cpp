#include "controls/Control.h"

#include "controls/ControlProps.h"

#include "project/Errors.h"
#include "project/Text.h"

#include <algorithm>
#include <cstdint>

namespace sw {

namespace {
const TEnumInfo kAlignNames{{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
const TEnumInfo kAlignmentNames{{"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo kAnchorNames{{"akLeft", "akTop", "akRight", "akBottom"}};
} // namespace

const TIdentMap& CursorIdents() {
    static const TIdentMap idents{{
        {"crDefault", 0},     {"crNone", -1},     {"crArrow", -2},    {"crCross", -3},     {"crIBeam", -4},
        {"crSizeNESW", -6},   {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},    {"crUpArrow", -10},
        {"crHourGlass", -11}, {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},   {"crVSplit", -15},
        {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19}, {"crHelp", -20},
        {"crHandPoint", -21}, {"crSizeAll", -22},
    }};
    return idents;
}

const TEnumInfo& AlignNames() { return kAlignNames; }
const TEnumInfo& ctlprop::AnchorNames() { return kAnchorNames; }
const TEnumInfo& AlignmentNames() { return kAlignmentNames; }

TextAlign ToTextAlign(TAlignment a) {
    switch (a) {
    case TAlignment::taRightJustify:
        return TextAlign::Right;
    case TAlignment::taCenter:
        return TextAlign::Center;
    case TAlignment::taLeftJustify:
        break;
    }
    return TextAlign::Left;
}

SW_CLASS_INFO(TControl, TComponent)

SW_CLASS_INFO(TWinControl, TControl)

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) { WatchFont(); }

void TControl::WatchFont() {
    font_->OnChange = [this] {
        parentFont_ = false;
        FontChanged();
    };
}

void TControl::UseFont(std::unique_ptr<TFont> font) {
    font_ = std::move(font);
    WatchFont();
    parentFont_ = false;
    FontChanged();
}

TControl::~TControl() {
    LeaveDrag();
    if (parent_)
        parent_->RemoveControl(this);
    window_.reset();
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
    if (!parent) {
        SetParent(nullptr);
        return;
    }
    auto* holder = dynamic_cast<TWinControl*>(parent);
    if (!holder)
        throw EComponentError(Format("Control '%s' has no parent window", {Name()}));
    SetParent(holder);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    for (TWinControl* p = parent; p; p = p->Parent())
        if (p == this)
            throw EComponentError("A control cannot be its own parent");
    Unrealize();
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = parent;
    if (!parent_)
        return;
    parent_->InsertControl(this);
    if (parentFont_)
        ParentFontChanged(*parent_->Font());
    if (parentColor_)
        ParentColorChanged(parent_->Color());
    BoundsSetByProgram();
    if (IForm* host = parent_->HostForm()) {
        Realize(*host, parent_->ChildParentWindow());
        if (dynamic_cast<TWinControl*>(this))
            parent_->TabOrderChanged();
    }
    RequestLayout();
}

bool TControl::InLoading() const {
    for (const TComponent* c = this; c; c = c->Owner())
        if (c->IsLoading())
            return true;
    return false;
}

void TControl::BoundsSetByProgram() {
    layout_.Designed = bounds_;
    if (parent_) {
        Bounds client = parent_->ClientRect();
        layout_.DesignedParentWidth = client.Width;
        layout_.DesignedParentHeight = client.Height;
    }
}

void TControl::SetBounds(const Bounds& bounds) {
    Bounds old = bounds_;
    bounds_ = bounds;
    BoundsSetByProgram();
    if (old == bounds_)
        return;
    PushBounds();
    RequestLayout();
    if (auto* self = dynamic_cast<TWinControl*>(this);
        self && (old.Width != bounds.Width || old.Height != bounds.Height))
        if (!InLoading())
            self->Realign();
}

void TControl::SetLeft(int32_t v) { SetBounds({v, bounds_.Top, bounds_.Width, bounds_.Height}); }
void TControl::SetTop(int32_t v) { SetBounds({bounds_.Left, v, bounds_.Width, bounds_.Height}); }
void TControl::SetWidth(int32_t v) { SetBounds({bounds_.Left, bounds_.Top, v, bounds_.Height}); }
void TControl::SetHeight(int32_t v) { SetBounds({bounds_.Left, bounds_.Top, bounds_.Width, v}); }

void TControl::PushBounds() {
    if (window_)
        window_->SetBounds(bounds_);
}

void TControl::PlaceByLayout(const Bounds& bounds) {
    if (bounds == bounds_)
        return;
    bool resized = bounds.Width != bounds_.Width || bounds.Height != bounds_.Height;
    bounds_ = bounds;
    PushBounds();
    if (auto* self = dynamic_cast<TWinControl*>(this); self && resized)
        self->Realign();
}

void TControl::RequestLayout() {
    if (parent_ && !InLoading())
        parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    layout_.Align = align;
    RequestLayout();
}

void TControl::SetAnchors(uint32_t anchors) {
    anchors_ = anchors & 0xF;
    layout_.Anchors = anchors_;
    BoundsSetByProgram();
}

void TControl::SetCaption(const std::string& caption) {
    std::string text = AdjustText(caption);
    if (text == text_)
        return;
    text_ = text;
    if (window_)
        window_->SetText(text);
    TextChanged();
}

void TControl::SetParentFont(bool on) {
    parentFont_ = on;
    if (on && parent_)
        ParentFontChanged(*parent_->Font());
}

void TControl::ParentFontChanged(const TFont& font) {
    if (!parentFont_ || *font_ == font)
        return;
    font_->Assign(font); // through OnChange, which clears the flag: keep it
    parentFont_ = true;
}

void TControl::FontChanged() {
    if (window_)
        window_->SetFont(font_->Spec(), static_cast<ColorRef>(font_->Color()));
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    color_ = color;
    ApplyColor();
}

void TControl::SetParentColor(bool on) {
    parentColor_ = on;
    if (on && parent_)
        ParentColorChanged(parent_->Color());
}

void TControl::ParentColorChanged(TColor color) {
    if (!parentColor_)
        return;
    color_ = color;
    ApplyColor();
}

void TControl::ApplyColor() {
    if (window_)
        window_->SetColor(static_cast<ColorRef>(color_));
    if (auto* self = dynamic_cast<TWinControl*>(this))
        self->ColorChanged();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    layout_.Visible = visible;
    if (window_)
        window_->SetVisible(visible);
    RequestLayout();
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (window_)
        window_->SetEnabled(enabled);
}

void TControl::Click() { OnClick(this); }

void TControl::Repaint() {
    if (window_)
        window_->Repaint();
}

void TControl::Invalidate() {
    if (window_)
        window_->Invalidate();
}

void TControl::WindowKeyDown(int& key, bool shift) {
    int32_t k = key;
    OnKeyDown(this, k, shift ? 1u << ssShift : 0u);
    key = k;
}

void TControl::Realize(IForm& form, IControl* parentWindow) {
    if (window_)
        return;
    window_ = form.CreateControl(WindowKind(), WindowName(), parentWindow, bounds_, events_);
    host_ = &form;
    ApplyTo(*window_);
}

std::string TControl::WindowName() const {
    auto* owner = dynamic_cast<const TControl*>(Owner());
    return owner && owner->Parent() ? owner->WindowName() + "." + Name() : Name();
}

// The font first: the text is of its character set's code page.
void TControl::ApplyTo(IControl& window) {
    window.SetFont(font_->Spec(), static_cast<ColorRef>(font_->Color()));
    window.SetText(text_);
    window.SetColor(static_cast<ColorRef>(color_));
    window.SetEnabled(enabled_);
    window.SetVisible(visible_);
}

void TControl::Unrealize() {
    LeaveDrag();
    window_.reset();
    host_ = nullptr;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

// Child controls go with their parent, last first.
TWinControl::~TWinControl() {
    while (!controls_.empty())
        TComponent::Free(controls_.back());
    Unrealize();
}

void TWinControl::InsertControl(TControl* c) { controls_.push_back(c); }

void TWinControl::RemoveControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

Bounds TWinControl::ClientRect() const { return {0, 0, Width(), Height()}; }

void TWinControl::Realign() {
    std::vector<TLayoutItem> items;
    items.reserve(controls_.size());
    for (TControl* c : controls_)
        items.push_back(c->layout_);
    Bounds client = ClientRect();
    std::vector<Bounds> placed = ComputeLayout(AlignRect(), client.Width, client.Height, items);
    for (size_t i = 0; i < controls_.size(); ++i)
        controls_[i]->PlaceByLayout(placed[i]);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

void TWinControl::SetFocus() {
    if (Handle())
        Handle()->SetFocus();
}

bool TWinControl::Focused() const { return Handle() && Handle()->Focused(); }

bool TWinControl::CanFocus() const {
    if (!Handle())
        return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetTabOrder(int32_t order) {
    tabOrder_ = order;
    TabOrderChanged();
}

void TWinControl::SetTabStop(bool on) {
    tabStop_ = on;
    if (Handle())
        Handle()->SetTabStop(on);
}

void TWinControl::ApplyTo(IControl& window) {
    TControl::ApplyTo(window);
    window.SetTabStop(tabStop_);
}

void TWinControl::TabOrderChanged() {
    if (Parent())
        Parent()->TabOrderChanged();
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
    std::vector<TWinControl*> children;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            children.push_back(w);
    auto key = [](const TWinControl* w) { return w->tabOrder_ < 0 ? INT32_MAX : w->tabOrder_; };
    std::stable_sort(children.begin(), children.end(),
                     [&](const TWinControl* a, const TWinControl* b) { return key(a) < key(b); });
    std::vector<TWinControl*> list;
    for (TWinControl* child : children) {
        list.push_back(child);
        for (TWinControl* inner : child->TabOrderList())
            list.push_back(inner);
    }
    return list;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward) const {
    std::vector<TWinControl*> list = TabOrderList();
    if (!forward)
        std::reverse(list.begin(), list.end());
    auto at = std::find(list.begin(), list.end(), current);
    // Start after the current control, or from the first when there is none.
    size_t start = at == list.end() ? 0 : static_cast<size_t>(at - list.begin()) + 1;
    for (size_t i = 0; i < list.size(); ++i) {
        TWinControl* next = list[(start + i) % list.size()];
        if (next != current && next->tabStop_ && next->CanFocus())
            return next;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward) {
    if (TWinControl* next = FindNextControl(current, forward))
        next->SetFocus();
}

TWinControl* TWinControl::FocusedControl() const {
    for (TWinControl* c : TabOrderList())
        if (c->Focused())
            return c;
    return nullptr;
}

void TWinControl::Realize(IForm& form, IControl* parentWindow) {
    TControl::Realize(form, parentWindow);
    RealizeChildren();
}

void TWinControl::RealizeChildren() {
    for (TControl* c : controls_)
        c->Realize(*HostForm(), ChildParentWindow());
}

void TWinControl::UnrealizeChildren() {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        (*it)->Unrealize();
}

void TWinControl::Unrealize() {
    UnrealizeChildren();
    TControl::Unrealize();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : controls_)
        c->ParentFontChanged(*Font());
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_)
        c->ParentColorChanged(Color());
}

} // namespace sw
