// The three registries of dialog classes (wizard pages, progress windows,
// change-disk windows), the running dialog manager and the list of every
// dialog form: one part of the program state.
#pragma once

#include "project/Component.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace sw {

class TBasePellmoorForm;
class TBaseInstallForm;
class TBaseDuringCopyForm;
class TBaseChangeDiskForm;
class TCustomBaseInstallDlg;
class TDialogManager;

// A registered dialog class: how to make one, the dialog component that
// carries its settings (none in this program) and a reserved number.
template <class Form> struct TDialogEntry {
    using Factory = Form* (*)(TComponent* owner);
    Factory Create = nullptr;
    TCustomBaseInstallDlg* Dialog = nullptr;
    int32_t Reserved = 0;
};
using TBIFEntry = TDialogEntry<TBaseInstallForm>;
using TDCFEntry = TDialogEntry<TBaseDuringCopyForm>;
using TBCDFEntry = TDialogEntry<TBaseChangeDiskForm>;

// The page registry; an entry without a class is an empty slot.
class TBIFList {
  public:
    int Count() const { return static_cast<int>(entries_.size()); }
    // Raises IException for an index outside the list or an empty slot.
    const TBIFEntry& Items(int index) const;
    void Add(const TBIFEntry& entry) { entries_.push_back(entry); }

  private:
    std::vector<TBIFEntry> entries_;
};
using TDCFList = std::vector<TDCFEntry>;
using TBCDFList = std::vector<TBCDFEntry>;

struct TDialogsState {
    // Made empty at start-up, before any class registers.
    std::unique_ptr<TBIFList> Pages;
    std::unique_ptr<TDCFList> ProgressForms;
    std::unique_ptr<TBCDFList> ChangeDiskForms;
    // Set while a manager builds and shows its dialogs.
    TDialogManager* RunningManager = nullptr;
    // Every living dialog form, in creation order.
    std::vector<TBasePellmoorForm*> Forms;
};
TDialogsState& DialogsState();

// Makes the three registries (once).
void CreateDialogRegistries();

template <class T> TBaseInstallForm* CreatePage(TComponent* owner) { return new T(owner); }
template <class T> TBaseDuringCopyForm* CreateProgressForm(TComponent* owner) { return new T(owner); }
template <class T> TBaseChangeDiskForm* CreateChangeDiskForm(TComponent* owner) { return new T(owner); }

// Append an entry to their registry (made first when missing).
void RegisterPageForm(TBIFEntry::Factory create);
void RegisterProgressForm(TDCFEntry::Factory create);
void RegisterChangeDiskForm(TBCDFEntry::Factory create);
template <class T> void RegisterPageForm() { RegisterPageForm(&CreatePage<T>); }
template <class T> void RegisterProgressForm() { RegisterProgressForm(&CreateProgressForm<T>); }
template <class T> void RegisterChangeDiskForm() { RegisterChangeDiskForm(&CreateChangeDiskForm<T>); }

// Sets the running manager for a scope and clears it at its end, also when
// an error passes.
class TRunningManager {
  public:
    explicit TRunningManager(TDialogManager* manager) { DialogsState().RunningManager = manager; }
    ~TRunningManager() { DialogsState().RunningManager = nullptr; }
    TRunningManager(const TRunningManager&) = delete;
    TRunningManager& operator=(const TRunningManager&) = delete;
};

} // namespace sw
