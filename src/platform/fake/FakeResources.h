// Resources of the program, filled by the test.
#pragma once

#include "platform/Resources.h"

#include <map>

namespace sw::fake {

class FakeResources : public IResources {
  public:
    void Add(ResourceType type, const std::string& name, std::vector<uint8_t> bytes);
    std::optional<std::vector<uint8_t>> Find(ResourceType type, const std::string& name) override;

  private:
    std::map<std::pair<ResourceType, std::string>, std::vector<uint8_t>> resources_;
};

} // namespace sw::fake
