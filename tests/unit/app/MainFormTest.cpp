#include "app/MainForm.h"
#include "app/SetupProgram.h"
#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"
#include "project/Reader.h"
#include "project/TextForm.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

std::string Stream(const char* text) { return WriteStreamRecords(TextToRecords(text, "form.txt")); }

TEST(MainForm, EventsBindToTheMethodsAnAuthorAdded) {
    fake::FakePlatform fake;
    ScopedPlatform installed(fake.Get());
    RegisterAllClasses();
    TOwned<TForm1> form(new TForm1(nullptr));
    int activations = 0;
    form->AddMethod<TPersistent*>("Form1Activate", [&](TPersistent* sender) {
        EXPECT_EQ(sender, form.get());
        ++activations;
    });
    ReadComponentStream(Stream("object Form1: TForm1\n  OnActivate = FORM1ACTIVATE\nend\n"), form.get());
    EXPECT_EQ(form->OnActivate.Name, "FORM1ACTIVATE");
    form->OnActivate(form.get());
    EXPECT_EQ(activations, 1);
}

TEST(MainForm, AnEventNamingNoMethodOrOneOfAnotherShapeIsRefused) {
    fake::FakePlatform fake;
    ScopedPlatform installed(fake.Get());
    RegisterAllClasses();
    TOwned<TForm1> form(new TForm1(nullptr));
    form->AddMethod<int>("Counted", [](int) {});
    for (const char* method : {"Missing", "Counted"}) {
        std::string text = std::string("object Form1: TForm1\n  OnActivate = ") + method + "\nend\n";
        try {
            ReadComponentStream(Stream(text.c_str()), form.get());
            ADD_FAILURE() << method;
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "Error reading Form1.OnActivate: Invalid property value");
        }
        EXPECT_FALSE(form->OnActivate);
    }
}

// The build reads a project without its author's handlers: an unknown name
// stays on its event, which does nothing; a bound name of another shape is
// still refused.
TEST(MainForm, AcceptingUnboundMethodsKeepsTheirNamesOnSilentEvents) {
    fake::FakePlatform fake;
    ScopedPlatform installed(fake.Get());
    RegisterAllClasses();
    TOwned<TForm1> form(new TForm1(nullptr));
    form->AcceptUnboundMethods();
    form->AddMethod<int>("Counted", [](int) {});
    ReadComponentStream(Stream("object Form1: TForm1\n  OnActivate = ConfirmAbort\nend\n"), form.get());
    EXPECT_EQ(form->OnActivate.Name, "ConfirmAbort");
    EXPECT_FALSE(form->OnActivate);
    form->OnActivate(form.get());
    EXPECT_THROW(ReadComponentStream(Stream("object Form1: TForm1\n  OnActivate = Counted\nend\n"), form.get()),
                 EReadError);
}

} // namespace
} // namespace sw
