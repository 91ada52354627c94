// A shown form holding a backdrop with a rotated label on it, on the fake
// platform, and what their windows drew at the last paint.
#pragma once

#include "platform/fake/FakeControl.h"
#include "unit/controls/ControlsFixture.h"
#include "visual/Backdrop.h"
#include "visual/RegisterVisual.h"
#include "visual/Rotate3DLabel.h"

namespace sw::test {

using Op = fake::CanvasOp;

struct VisualTest : ControlsTest {
    VisualTest() { RegisterVisualClasses(); }

    // A form with Backdrop1 (`backdrop` lines inside it) holding Title.
    void Show(const std::string& backdrop, const std::string& title = "") {
        form = ReadForm("object MainForm: TForm\n  Width = 700\n  Height = 500\n"
                        "  object Backdrop1: TBackdrop\n" +
                        backdrop + "    object Title: TRotate3DLabel\n" + title + "    end\n  end\nend\n");
        this->backdrop = static_cast<TBackdrop*>(form->FindComponent("Backdrop1"));
        label = static_cast<TRotate3DLabel*>(form->FindComponent("Title"));
        form->Show();
    }
    // A fresh program state for the next case of a table.
    void Reset() {
        RenewProgramState();
        RegisterControlClasses();
        RegisterVisualClasses();
    }
    const std::vector<Op>& Drawn(const std::string& name) {
        Window(name).Repaint();
        return static_cast<fake::FakeControl&>(Window(name)).Drawn();
    }

    TForm* form = nullptr;
    TBackdrop* backdrop = nullptr;
    TRotate3DLabel* label = nullptr;
};

} // namespace sw::test
