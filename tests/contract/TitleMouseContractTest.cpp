// A rotated label over a backdrop hears the mouse as a form's author expects
// on each backend: its mouse events and double clicks with their buttons,
// keys and positions, and an automatic or begun drag onto another label.
#include "ContractBackends.h"
#include "controls/Controls.h"
#include "controls/Forms.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "support/ProgramStateForTests.h"
#include "visual/RegisterVisual.h"
#include "visual/Rotate3DLabel.h"

using namespace sw;

namespace {

constexpr const char* kForm = R"(object MainForm: TForm
  Left = 30
  Top = 30
  ClientWidth = 300
  ClientHeight = 200
  object Backdrop1: TBackdrop
    Align = alClient
    object Title: TRotate3DLabel
      Left = 10
      Top = 10
      Width = 200
      Height = 40
      Caption = 'Title'
    end
    object Target: TRotate3DLabel
      Left = 10
      Top = 100
      Width = 200
      Height = 40
      Caption = 'Drop here'
    end
  end
end
)";

std::string Name(TPersistent* c) { return c ? static_cast<TComponent*>(c)->Name() : "-"; }
std::string At(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }

// Notes every mouse and drag event of `c` in `log`.
void Listen(TControl& c, std::vector<std::string>& log) {
    auto note = [&log, name = c.Name()](const std::string& what) { log.push_back(name + " " + what); };
    auto mouse = [note](const char* what) {
        return [note, what](TPersistent*, TMouseButton b, TShiftState shift, int32_t x, int32_t y) {
            note(std::string(what) + " " + std::to_string(static_cast<int>(b)) + " " + std::to_string(shift) + " " +
                 At(x, y));
        };
    };
    c.OnClick.Fn = [note](TPersistent*) { note("click"); };
    c.OnDblClick.Fn = [note](TPersistent*) { note("dblclick"); };
    c.OnMouseDown.Fn = mouse("down");
    c.OnMouseUp.Fn = mouse("up");
    c.OnMouseMove.Fn = [note](TPersistent*, TShiftState shift, int32_t x, int32_t y) {
        note("move " + std::to_string(shift) + " " + At(x, y));
    };
    c.OnStartDrag.Fn = [note](TPersistent*, TPersistent*&) { note("startdrag"); };
    c.OnEndDrag.Fn = [note](TPersistent*, TPersistent* target, int32_t x, int32_t y) {
        note("enddrag " + Name(target) + " " + At(x, y));
    };
    c.OnDragDrop.Fn = [note](TPersistent*, TPersistent* source, int32_t x, int32_t y) {
        note("drop " + Name(source) + " " + At(x, y));
    };
}

template <typename Backend> class TitleMouseContract : public ::testing::Test {
  protected:
    Backend backend;
};

TYPED_TEST_SUITE(TitleMouseContract, contract::Backends, contract::BackendNames);

TYPED_TEST(TitleMouseContract, MouseEventsAndDragsReachTheLabelsHandlers) {
    using enum MouseAction;
    const unsigned L = mk::Left, R = mk::Right;
    struct Step {
        MouseInput input; // on Title
        std::vector<std::string> heard;
    };
    struct Case {
        const char* what;
        TDragMode mode;
        bool beginOnPress; // Title's OnMouseDown begins a drag at once
        bool accept;       // Target's OnDragOver
        std::vector<Step> steps;
    };
    // Shift bits: ssShift 1, ssCtrl 4, ssLeft 8, ssRight 16, ssDouble 64.
    const Case cases[] = {
        {"mouse",
         TDragMode::dmManual,
         false,
         true,
         {{{Down, L, L, 10, 10}, {"Title down 0 8 10,10"}},
          {{Move, 0, L, 12, 11}, {"Title move 8 12,11"}},
          {{Up, L, 0, 12, 11}, {"Title click", "Title up 0 0 12,11"}},
          {{DoubleClick, L, L, 12, 11}, {"Title dblclick", "Title down 0 72 12,11"}},
          {{Up, L, 0, 12, 11}, {"Title up 0 0 12,11"}},
          {{Down, R, R | mk::Shift | mk::Control, 5, 5}, {"Title down 1 21 5,5"}},
          {{Up, R, 0, 5, 5}, {"Title up 1 0 5,5"}}}},
        {"automatic drag, dropped",
         TDragMode::dmAutomatic,
         false,
         true,
         {{{Down, L, L, 10, 10}, {}},
          {{Move, 0, L, 13, 10}, {}}, // not yet 5 pixels
          {{Move, 0, L, 10, 95}, {"Title startdrag", "Target over enter 10,5 from Title"}},
          {{Move, 0, L, 20, 96}, {"Target over move 20,6 from Title"}},
          {{Up, L, 0, 20, 96},
           {"Target over leave 20,6 from Title", "Target drop Title 20,6", "Title enddrag Target 20,6"}}}},
        {"automatic drag, refused",
         TDragMode::dmAutomatic,
         false,
         false,
         {{{Down, L, L, 10, 10}, {}},
          {{Move, 0, L, 10, 95}, {"Title startdrag", "Target over enter 10,5 from Title"}},
          {{Move, 0, L, 10, 30}, {"Target over leave 10,5 from Title"}}, // over Title, which has no OnDragOver
          {{Move, 0, L, 11, 95}, {"Target over enter 11,5 from Title"}},
          {{Up, L, 0, 11, 95}, {"Target over leave 11,5 from Title", "Title enddrag - 0,0"}}}},
        {"automatic drag, released in place", TDragMode::dmAutomatic, false, true,
         {{{Down, L, L, 10, 10}, {}}, {{Up, L, 0, 10, 10}, {}}}},
        {"drag begun on the press",
         TDragMode::dmManual,
         true,
         true,
         {{{Down, L, L, 10, 10}, {"Title down 0 8 10,10", "Title startdrag"}},
          {{Move, 0, L, 10, 95}, {"Target over enter 10,5 from Title"}},
          {{Up, L, 0, 10, 95},
           {"Target over leave 10,5 from Title", "Target drop Title 10,5", "Title enddrag Target 10,5"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            ScopedPlatform installed(this->backend.platform.Get());
            RegisterControlClasses();
            RegisterVisualClasses();
            auto* form = static_cast<TForm*>(ReadComponentRecords(TextToRecords(kForm, "title"), nullptr));
            Application().Adopt(form);
            auto& title = *static_cast<TRotate3DLabel*>(form->FindComponent("Title"));
            auto& target = *static_cast<TRotate3DLabel*>(form->FindComponent("Target"));
            std::vector<std::string> log;
            Listen(title, log);
            Listen(target, log);
            title.DragMode = c.mode;
            if (c.beginOnPress)
                title.OnMouseDown.Fn = [&title, down = title.OnMouseDown.Fn](auto... args) {
                    down(args...);
                    title.BeginDrag(true);
                };
            target.OnDragOver.Fn = [&log, accept = c.accept](TPersistent*, TPersistent* source, int32_t x, int32_t y,
                                                             TDragState state, bool& ok) {
                static const char* const states[] = {"enter", "leave", "move"};
                log.push_back("Target over " + std::string(states[static_cast<int>(state)]) + " " + At(x, y) +
                              " from " + Name(source));
                EXPECT_TRUE(ok) << "a target with a handler accepts unless it says otherwise";
                ok = accept;
            };
            form->Show();
            this->backend.Gui().ProcessMessages();
            IControl* window = form->Window()->FindControl("Title");
            ASSERT_NE(window, nullptr);
            for (const Step& step : c.steps) {
                log.clear();
                window->Mouse(step.input);
                this->backend.Gui().ProcessMessages();
                EXPECT_EQ(log, step.heard) << "at " << At(step.input.X, step.input.Y);
            }
            EXPECT_FALSE(title.Dragging());
        }
        test::RenewProgramState();
    }
}

} // namespace
