#include "ViewerLanguage.h"

#include "project/Errors.h"

namespace sw::viewer {

void ApplyLanguage(TCustomForm&, const std::string&) { throw ENotBuiltYet("Showing a form in another language"); }

} // namespace sw::viewer
