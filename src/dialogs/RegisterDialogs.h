// The dialog subsystem's start-up: its stream classes, its registries and
// the dialog classes of the program, and the hidden instance of each.
#pragma once

namespace sw {

// Makes the dialog registries and registers every dialog class of the
// program in its own; called once by the program entry.
void RegisterDialogClasses();

// Creates one hidden instance of every registered dialog class, owned by the
// application; they are translated again with the others when the language
// changes and never shown.
void CreateDialogInstances();

} // namespace sw
