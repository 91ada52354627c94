// The system's folder browser, extended at run time with a button that
// creates a folder and an edit in which a path can be typed.
#pragma once

#include "project/Component.h"
#include "project/PropInfo.h"

#include <string>

namespace sw {

class IFolderBrowserWindow;

class TOpenFolderDialog : public TComponent {
  public:
    TOpenFolderDialog() : TComponent(nullptr) {}

    // On input the folder to open at; on output the chosen one.
    std::string Folder;
    bool ShowCreateButton = true;
    // With the edit, what OK returns is the folder typed or selected, created
    // when missing.
    bool ShowPathEdit = true;
    // May veto the creation of a folder (Allow is preset true).
    TEvent<TOpenFolderDialog*, bool&> OnCreateFolder;

    // True when the user pressed OK; the folder is then in Folder.
    bool Execute();

    // The nearest folder of `path` that exists (itself or an ancestor),
    // empty when none does.
    static std::string NearestExistingFolder(std::string path);

  private:
    class Run;
};

} // namespace sw
