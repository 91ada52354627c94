// Install objects of each kind, standing in for files, shortcuts and dialogs.
#pragma once

#include "objects/InstallObject.h"
#include "objects/InstallParameters.h"

#include <string>
#include <vector>

namespace sw::test {

template <int Kind> class TKindObject : public TInstallObject {
  public:
    using TInstallObject::TInstallObject;
    int GetObjectKind() const override { return Kind; }
};

#define SW_TEST_OBJECT(Class, Kind)                                                                                    \
    class Class : public TKindObject<Kind> {                                                                           \
        SW_DECLARE_CLASS()                                                                                             \
      public:                                                                                                          \
        using TKindObject<Kind>::TKindObject;                                                                          \
    };

SW_TEST_OBJECT(TTestFile, 2000)
SW_TEST_OBJECT(TTestShortcut, 8000)
SW_TEST_OBJECT(TInstallBDE, 2000)

#undef SW_TEST_OBJECT

// A dialog that records the messages it receives.
class TTestDialog : public TKindObject<9000> {
    SW_DECLARE_CLASS()
  public:
    using TKindObject<9000>::TKindObject;
    void HandleInstallMessage(TInstallContainer* sender, int code, TPersistent* parameter) override {
        Senders.push_back(sender);
        Codes.push_back(code);
        Parameters.push_back(parameter);
        if (auto* message = dynamic_cast<TMessageParameter*>(parameter))
            Texts.push_back(message->Text);
    }
    std::vector<TInstallContainer*> Senders;
    std::vector<int> Codes;
    std::vector<TPersistent*> Parameters;
    std::vector<std::string> Texts;
};

} // namespace sw::test
