// The resources of an executable read from its bytes (a PE image), for a
// program that runs the setup program's code from outside it: the Linux
// build command reads the project, the theme bitmap and the flags from the
// setup program it builds. Answers as Windows' FindResource would.
#pragma once

#include "platform/Resources.h"

#include <string>

namespace sw {

class TPortableResources : public IResources {
  public:
    // image: the executable's bytes; no resources when they are no PE image.
    explicit TPortableResources(std::string image) : image_(std::move(image)) {}
    std::optional<std::vector<uint8_t>> Find(ResourceType type, const std::string& name) override;

  private:
    std::string image_;
};

} // namespace sw
