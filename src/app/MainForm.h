// TForm1, the main form that carries the install project. Its stream is the
// RCDATA resource "TFORM1"; the event handlers the stream names are the
// methods an author binds to it by name.
#pragma once

#include "controls/Forms.h"
#include "project/Text.h"

#include <any>
#include <functional>
#include <map>
#include <string>
#include <type_traits>

namespace sw {

class TForm1 : public TForm {
    SW_DECLARE_CLASS()
  public:
    using TForm::TForm;

    // Publishes a method under `name` for the stream's event properties.
    template <class... Args>
    void AddMethod(const std::string& name, std::type_identity_t<std::function<void(Args...)>> handler) {
        methods_[UpperCase(name)] = std::move(handler);
    }
    std::any FindMethod(std::string_view name) const override;
    // Names no published method stands for are kept on their events, which
    // then do nothing: for reading a project without its author's handlers.
    void AcceptUnboundMethods() { acceptUnbound_ = true; }

  private:
    std::map<std::string, std::any> methods_;
    bool acceptUnbound_ = false;
};

// Implemented by the author's handler sources (or the empty default): binds
// the project's event handlers before the stream is read.
void BindProjectHandlers(TForm1& form);

// Publishes "ConfirmAbort", an OnUserAbort handler that lets Cancel stand
// only when the user answers Yes to "Do you want to cancel the installation?".
void AddConfirmAbort(TForm1& form);

} // namespace sw
