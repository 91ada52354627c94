// A fake platform with the control classes registered, and forms read from
// their text form.
#pragma once

#include "controls/Controls.h"
#include "controls/Forms.h"
#include "platform/fake/FakePlatform.h"
#include "project/ClassRegistry.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "project/Writer.h"
#include "support/ProgramStateForTests.h"

#include <gtest/gtest.h>

#include <string>

namespace sw::test {

struct ControlsTest : ::testing::Test {
    ControlsTest() { RegisterControlClasses(); }
    ~ControlsTest() override { RenewProgramState(); }

    // Reads a form from its text; the application owns it.
    TForm* ReadForm(const std::string& text) {
        auto* form = static_cast<TForm*>(ReadComponentRecords(TextToRecords(text, "form.txt"), nullptr));
        Application().Adopt(form);
        return form;
    }
    // The error a text gives when read.
    std::string ReadError(const std::string& text) {
        try {
            TComponent::Free(ReadComponentRecords(TextToRecords(text, "form.txt"), nullptr));
        } catch (const Exception& e) {
            return e.Message();
        }
        return "";
    }
    IControl& Window(const std::string& name) {
        IControl* c = fake.Gui().FindControl(name);
        if (!c)
            throw Exception("no window " + name);
        return *c;
    }

    fake::FakePlatform fake;
    ScopedPlatform installed{fake.Get()};
};

} // namespace sw::test
