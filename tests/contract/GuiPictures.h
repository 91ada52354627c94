// What the GUI contract suites share: form events nobody listens to, the
// colours they paint with, and a pixel of a window's capture.
#pragma once

#include "platform/Gui.h"

#include <cstdint>
#include <string>

namespace contract {

struct NoFormEvents : sw::IFormEvents {
    void OnActivate() override {}
    void OnClose() override {}
    void OnResize() override {}
    void OnTab(bool) override {}
};

inline constexpr sw::ColorRef kRed = 0x0000FF;
inline constexpr sw::ColorRef kGreen = 0x00FF00;
inline constexpr sw::ColorRef kOlive = 0x008080;

// The colour (0x00BBGGRR) of a pixel of a 24-bit BMP file, rows bottom up.
inline sw::ColorRef PixelAt(const std::string& bmp, int x, int y) {
    auto le32 = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 4; i-- > 0;)
            v = (v << 8) | static_cast<uint8_t>(bmp[at + i]);
        return v;
    };
    uint32_t width = le32(18), height = le32(22), stride = (width * 3 + 3) & ~3u;
    size_t at = 54 + (height - 1 - static_cast<uint32_t>(y)) * stride + static_cast<uint32_t>(x) * 3;
    return static_cast<uint8_t>(bmp[at + 2]) | static_cast<uint8_t>(bmp[at + 1]) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(bmp[at])) << 16;
}

} // namespace contract
