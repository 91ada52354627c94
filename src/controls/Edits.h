// Text the user types: one-line edits, memos and rich-text boxes.
#pragma once

#include "controls/Control.h"
#include "project/StringList.h"

namespace sw {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A text control: OnChange runs when the text changes, typed or set.
class TCustomEdit : public TWinControl {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    TNotifyEvent OnChange;

  protected:
    void ApplyTo(IControl& window) override;
    void WindowChanged() override;
    void TextChanged() override;
    // Set while the text follows lines read from the stream: no OnChange.
    bool quiet_ = false;

  private:
    bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
    SW_DECLARE_CLASS()
  public:
    explicit TEdit(TComponent* owner);

    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase c);
    int32_t MaxLength = 0;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Edit; }
    std::string AdjustText(const std::string& text) const override;

  private:
    TEditCharCase charCase_ = TEditCharCase::ecNormal;
};

// Lines of text; its Text is the lines joined by CR LF. Change the lines
// through SetLines (or Lines() and then LinesChanged).
class TMemo : public TCustomEdit {
    SW_DECLARE_CLASS()
  public:
    explicit TMemo(TComponent* owner);

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(const std::vector<std::string>& lines);
    void LinesChanged();
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    TScrollStyle ScrollBars = TScrollStyle::ssNone;
    TAlignment Alignment = TAlignment::taLeftJustify;

    void Loaded() override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::Memo; }
    void ApplyTo(IControl& window) override;
    void TextChanged() override;

  private:
    std::unique_ptr<TStrings> lines_;
    bool wordWrap_ = true;
};

class TRichEdit : public TMemo {
    SW_DECLARE_CLASS()
  public:
    using TMemo::TMemo;
    bool PlainText = false;

  protected:
    ControlKind WindowKind() const override { return ControlKind::RichEdit; }
};

} // namespace sw
