// What the backdrop and the rotated label publish: each property with its
// default as a fresh instance holds it, and a stream naming the re-published
// ones read and written back.
#include "VisualFixture.h"

namespace sw::test {
namespace {

struct Published {
    const char* name;
    TPropKind kind;
    std::optional<int64_t> def; // ordinal kinds: the declared default, also the fresh value
};

void ExpectPublished(const TPersistent& fresh, const TClassInfo& info, const std::vector<Published>& expected) {
    for (const Published& e : expected) {
        SCOPED_TRACE(std::string(info.Name) + "." + e.name);
        const TPropInfo* p = info.FindProperty(e.name);
        ASSERT_NE(p, nullptr) << "not published";
        EXPECT_EQ(p->Kind, e.kind);
        if (!e.def)
            continue;
        EXPECT_EQ(p->Default, e.def);
        EXPECT_EQ(p->GetOrdinal(fresh), *e.def) << "the constructor's value";
    }
}

constexpr TPropKind kInt = TPropKind::Integer, kBool = TPropKind::Boolean, kEnum = TPropKind::Enumeration,
                    kEvent = TPropKind::Event, kRef = TPropKind::Reference;

TEST_F(VisualTest, EveryPropertyIsPublishedWithTheConstructorsDefault) {
    TOwned<TBackdrop> backdrop(new TBackdrop(nullptr));
    ExpectPublished(*backdrop, backdrop->ClassInfo(),
                    {{"Left", kInt, {}},
                     {"Top", kInt, {}},
                     {"Width", kInt, {}},
                     {"Height", kInt, {}},
                     {"Align", kEnum, static_cast<int>(TAlign::alClient)},
                     {"Direction", kEnum, 0},
                     {"StartColor", kInt, 0xFF0000},
                     {"EndColor", kInt, 0},
                     {"Tag", kInt, 0},
                     {"BorderStyle", kEnum, 0},
                     {"BorderWidth", kInt, 0},
                     {"Locked", kBool, 0},
                     {"Cursor", kInt, crDefault},
                     {"DragCursor", kInt, crDrag},
                     {"DragMode", kEnum, 0},
                     {"Enabled", kBool, 1},
                     {"HelpContext", kInt, 0},
                     {"Hint", TPropKind::String, {}},
                     {"ParentShowHint", kBool, 1},
                     {"PopupMenu", kRef, {}},
                     {"ShowHint", kBool, 0},
                     {"TabOrder", kInt, -1},
                     {"TabStop", kBool, 0},
                     {"Visible", kBool, 1}});

    TOwned<TRotate3DLabel> label(new TRotate3DLabel(nullptr));
    ExpectPublished(*label, label->ClassInfo(),
                    {{"Left", kInt, {}},
                     {"Top", kInt, {}},
                     {"Width", kInt, {}},
                     {"Height", kInt, {}},
                     {"LabelStyle", TPropKind::Object, {}},
                     {"MyTransparent", kBool, 1},
                     {"Align", kEnum, 0},
                     {"Alignment", kEnum, 0},
                     {"Caption", TPropKind::String, {}},
                     {"Color", kInt, static_cast<int32_t>(clBtnFace)},
                     {"DragCursor", kInt, crDrag},
                     {"DragMode", kEnum, 0},
                     {"Enabled", kBool, 1},
                     {"FocusControl", kRef, {}},
                     {"Font", TPropKind::Object, {}},
                     {"ParentColor", kBool, 0},
                     {"ParentFont", kBool, 0},
                     {"ParentShowHint", kBool, 1},
                     {"PopupMenu", kRef, {}},
                     {"ShowAccelChar", kBool, 1},
                     {"ShowHint", kBool, 0},
                     {"Visible", kBool, 1},
                     {"Tag", kInt, 0},
                     {"OnClick", kEvent, {}},
                     {"OnDblClick", kEvent, {}},
                     {"OnDragDrop", kEvent, {}},
                     {"OnDragOver", kEvent, {}},
                     {"OnEndDrag", kEvent, {}},
                     {"OnMouseDown", kEvent, {}},
                     {"OnMouseMove", kEvent, {}},
                     {"OnMouseUp", kEvent, {}},
                     {"OnStartDrag", kEvent, {}}});
}

// A main form with handlers for the label's events, which note their calls.
class TTitleForm : public TForm {
    SW_DECLARE_CLASS()
  public:
    using TForm::TForm;
    std::any FindMethod(std::string_view name) const override {
        auto* self = const_cast<TTitleForm*>(this);
        auto note = [self](std::string what) { self->Calls.push_back(std::move(what)); };
        if (name == "TitleDblClick")
            return TNotifyEvent::Handler([note](TPersistent*) { note("dblclick"); });
        if (name == "TitleMouse")
            return TMouseEvent::Handler([note](TPersistent*, TMouseButton b, TShiftState, int32_t x, int32_t y) {
                note("mouse " + std::to_string(static_cast<int>(b)) + " " + std::to_string(x) + "," +
                     std::to_string(y));
            });
        if (name == "TitleMouseMove")
            return TMouseMoveEvent::Handler([note](TPersistent*, TShiftState, int32_t, int32_t) { note("move"); });
        if (name == "TitleDragDrop")
            return TDragDropEvent::Handler([note](TPersistent*, TPersistent*, int32_t, int32_t) { note("drop"); });
        if (name == "TitleDragOver")
            return TDragOverEvent::Handler([note](TPersistent*, TPersistent*, int32_t, int32_t, TDragState, bool& ok) {
                ok = true;
                note("over");
            });
        if (name == "TitleStartDrag")
            return TStartDragEvent::Handler([note](TPersistent*, TPersistent*&) { note("start"); });
        return TForm::FindMethod(name);
    }
    std::vector<std::string> Calls;
};
SW_CLASS_INFO(TTitleForm, TForm)

constexpr const char* kTitleForm = R"(object MainForm: TTitleForm
  object Backdrop1: TBackdrop
    Cursor = crHandPoint
    DragCursor = crNoDrop
    DragMode = dmAutomatic
    HelpContext = 12
    Hint = 'Behind the title'
    ShowHint = True
    TabStop = True
    BorderStyle = bsSingle
    BorderWidth = 2
    Locked = True
    object Title: TRotate3DLabel
      DragCursor = 7
      OnDblClick = TitleDblClick
      OnDragDrop = TitleDragDrop
      OnDragOver = TitleDragOver
      OnEndDrag = TitleDragDrop
      OnMouseDown = TitleMouse
      OnMouseMove = TitleMouseMove
      OnMouseUp = TitleMouse
      OnStartDrag = TitleStartDrag
    end
  end
end
)";

TEST_F(VisualTest, AStreamNamingTheRepublishedPropertiesReadsAndWritesBack) {
    RegisterClass<TTitleForm>();
    auto* form = static_cast<TTitleForm*>(ReadForm(kTitleForm));
    auto* backdrop = static_cast<TBackdrop*>(form->FindComponent("Backdrop1"));
    auto* title = static_cast<TRotate3DLabel*>(form->FindComponent("Title"));
    EXPECT_EQ(backdrop->Cursor, -21);
    EXPECT_EQ(backdrop->DragCursor, -13);
    EXPECT_EQ(backdrop->DragMode, TDragMode::dmAutomatic);
    EXPECT_EQ(backdrop->HelpContext, 12);
    EXPECT_EQ(backdrop->Hint, "Behind the title");
    EXPECT_TRUE(backdrop->TabStop());
    EXPECT_EQ(backdrop->BorderWidth(), 2);
    EXPECT_TRUE(backdrop->Locked);
    EXPECT_EQ(title->DragCursor, 7) << "a cursor of the program's own, by number";

    title->OnMouseDown(title, TMouseButton::mbRight, 0, 3, 4);
    title->OnMouseUp(title, TMouseButton::mbLeft, 0, 5, 6);
    title->OnDblClick(title);
    title->OnMouseMove(title, 0, 1, 1);
    title->OnEndDrag(title, nullptr, 0, 0);
    bool accept = false;
    title->OnDragOver(title, nullptr, 0, 0, TDragState::dsDragMove, accept);
    TPersistent* dragged = nullptr;
    title->OnStartDrag(title, dragged);
    EXPECT_EQ(form->Calls,
              (std::vector<std::string>{"mouse 1 3,4", "mouse 0 5,6", "dblclick", "move", "drop", "over", "start"}));
    EXPECT_TRUE(accept);

    // Written back by name, in table order, and read again to the same text.
    std::string text = RecordsToText(ComponentToRecords(*form));
    for (const char* line : {"    Cursor = crHandPoint\n", "    DragCursor = crNoDrop\n", "      DragCursor = 7\n",
                             "      OnDragOver = TitleDragOver\n", "      OnStartDrag = TitleStartDrag\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    EXPECT_EQ(RecordsToText(ComponentToRecords(*ReadForm(text))), text);
    EXPECT_NE(ReadError("object F: TForm\n object B: TBackdrop\n  Cursor = crNoSuchCursor\n end\nend\n"), "");
}

} // namespace
} // namespace sw::test
