// The control classes that form streams may name.
#pragma once

namespace sw {

// Registers every control class with the stream reader (idempotent).
void RegisterControlClasses();

} // namespace sw
