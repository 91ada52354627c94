// Makes the visual components known to the class registry, so that a project
// stream can name them.
#pragma once

namespace sw {

void RegisterVisualClasses();

} // namespace sw
