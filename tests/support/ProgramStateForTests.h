// Every test runs in a program state of its own, made before the test's
// fixture and ended after it (tests/support/TestMain.cpp).
#pragma once

namespace sw::test {

// Ends the test's program state now (freeing the forms the application
// holds, while the fixture's platform still exists) and starts a fresh one.
void RenewProgramState();

} // namespace sw::test
