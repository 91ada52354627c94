// The install driver as placed on a project's main form: publishes the
// properties and events of TCustomInstall.
#pragma once

#include "engine/CustomInstall.h"

namespace sw {

class TInstall : public TCustomInstall {
    SW_DECLARE_CLASS()
  public:
    using TCustomInstall::TCustomInstall;
};

// Registers every class of the install engine, its objects and path
// specifiers with the stream reader.
void RegisterInstallerClasses();

class TProgramState;

// Creates the parts of the program state, in their fixed order: the program
// entry calls it first thing.
void CreateProgramWideObjects(TProgramState& state);

} // namespace sw
