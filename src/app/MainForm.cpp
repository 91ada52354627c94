#include "app/MainForm.h"

#include "project/Text.h"

namespace sw {

SW_CLASS_INFO(TForm1, TForm)

std::any TForm1::FindMethod(std::string_view name) const {
    auto it = methods_.find(UpperCase(name));
    return it == methods_.end() ? std::any() : it->second;
}

} // namespace sw
