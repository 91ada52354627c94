#include "dialogs/DialogRegistries.h"

#include "project/ProgramState.h"
#include "system/InstallErrors.h"

namespace sw {

TDialogsState& DialogsState() { return ProgramPart<TDialogsState>(); }

const TBIFEntry& TBIFList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw IException("%d is an invalid index in the BIFList", {index});
    const TBIFEntry& entry = entries_[static_cast<size_t>(index)];
    if (!entry.Create)
        throw IException("The %d 'th entry in the BIFList is NIL", {index});
    return entry;
}

void CreateDialogRegistries() {
    TDialogsState& state = DialogsState();
    if (!state.Pages)
        state.Pages = std::make_unique<TBIFList>();
    if (!state.ProgressForms)
        state.ProgressForms = std::make_unique<TDCFList>();
    if (!state.ChangeDiskForms)
        state.ChangeDiskForms = std::make_unique<TBCDFList>();
}

void RegisterPageForm(TBIFEntry::Factory create) {
    CreateDialogRegistries();
    DialogsState().Pages->Add({create, nullptr, 0});
}

void RegisterProgressForm(TDCFEntry::Factory create) {
    CreateDialogRegistries();
    DialogsState().ProgressForms->push_back({create, nullptr, 0});
}

void RegisterChangeDiskForm(TBCDFEntry::Factory create) {
    CreateDialogRegistries();
    DialogsState().ChangeDiskForms->push_back({create, nullptr, 0});
}

} // namespace sw
