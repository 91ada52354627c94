// Shared by the engine tests natively and under Wine: project streams loaded
// from text forms, freed together, and the theme bitmap every driver loads.
#pragma once

#include "project/Component.h"
#include "project/Reader.h"
#include "project/StreamRecord.h"
#include "project/TextForm.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace sw::test {

// A 117 x 290, 16-colour BITMAP resource (info header, palette, pixels).
inline std::vector<uint8_t> ThemeBitmapResource() {
    constexpr uint32_t width = 117, height = 290, colours = 16;
    constexpr uint32_t rowBytes = ((width * 4 + 31) / 32) * 4;
    std::vector<uint8_t> dib;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            dib.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(40);
    put32(width);
    put32(height);
    dib.insert(dib.end(), {1, 0, 4, 0}); // planes, bits per pixel
    put32(0);                            // no compression
    put32(rowBytes * height);
    put32(0), put32(0);
    put32(colours), put32(0);
    for (uint32_t i = 0; i < colours; ++i)
        put32(i * 0x00111111u);
    dib.resize(dib.size() + rowBytes * height, 0x12);
    return dib;
}

// Roots read from text forms (or made by the test), freed last to first.
class TLoadedRoots {
  public:
    TLoadedRoots() = default;
    TLoadedRoots(const TLoadedRoots&) = delete;
    TLoadedRoots& operator=(const TLoadedRoots&) = delete;
    ~TLoadedRoots() { FreeAll(); }

    // Compiles the text form to a binary stream and reads it into a new root.
    TComponent* Load(std::string_view text, std::string_view fileName) {
        return Adopt(ReadComponentStream(WriteStreamRecords(TextToRecords(text, fileName)), nullptr));
    }
    template <class T> T* Adopt(T* root) {
        roots_.push_back(root);
        return root;
    }
    void FreeAll() {
        for (auto it = roots_.rbegin(); it != roots_.rend(); ++it)
            TComponent::Free(*it);
        roots_.clear();
    }

  private:
    std::vector<TComponent*> roots_;
};

} // namespace sw::test
