// The setup program's entry, independent of the platform backend: the
// application title, the main form read from its resource (the install
// driver runs the tool modes while it loads), then the message loop.
#pragma once

#include "project/StreamRecord.h"

#include <string>

namespace sw {

// "<product name> Installation", the product name taken from the install
// driver's Information in the project stream ("My product" when absent).
std::string ProjectTitle(const TObjectRecord& project);

// Registers every class a project or dialog form stream may name.
void RegisterAllClasses();

// Runs the program on the installed platform, in the current program state
// (whose end frees the forms); returns the exit code.
int RunSetupProgram();

} // namespace sw
