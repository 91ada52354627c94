// A fake platform, the registered classes, and a clean slate of every
// program-wide object for each engine test.
#pragma once

#include "controls/Forms.h"
#include "engine/Install.h"
#include "platform/fake/FakePlatform.h"
#include "project/Component.h"
#include "support/LoadedRoots.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sw::test {

// The project's main form class: its published method FormActivate counts
// activations and remembers the sender.
class TTestForm : public TForm {
    SW_DECLARE_CLASS()
  public:
    using TForm::TForm;
    std::any FindMethod(std::string_view name) const override;

    mutable int Activations = 0;
    mutable TPersistent* LastSender = nullptr;
};

class EngineFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the arguments after the program name, e.g. R"(-d "-sC:\My Build")".
    void SetArguments(const std::string& arguments);
    // Compiles a text form to a binary stream and reads it into a new root of
    // the form's class; the fixture frees it at the end of the test.
    TComponent* Load(std::string_view text);
    TTestForm* LoadForm(std::string_view text) { return static_cast<TTestForm*>(Load(text)); }
    // Frees the roots loaded so far (and so their drivers).
    void FreeRoots();
    // A form of the test class that the fixture frees.
    TTestForm* NewForm();
    // The message of the exception the loading of `text` raises; fails the
    // test unless it is of class E.
    template <class E> std::string LoadError(std::string_view text) {
        try {
            Load(text);
        } catch (const E& e) {
            return e.what();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected exception: " << e.what();
            return {};
        }
        ADD_FAILURE() << "the form loaded without an error";
        return {};
    }

    fake::FakePlatform fake_;
    std::unique_ptr<ScopedPlatform> platform_;
    TLoadedRoots roots_;
};

// A form with the standard specifiers and a driver, as a project stream holds them.
inline constexpr std::string_view kBasicForm = R"(object Form1: TTestForm
  Width = 300
  Height = 200
  OnActivate = FormActivate
  object Install1: TInstall
    RunAutomatic = False
  end
end
)";

} // namespace sw::test
