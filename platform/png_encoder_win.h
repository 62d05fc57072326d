// PNG files through the Windows Imaging Component, the system's own encoder.
#pragma once

#include "editor/imaging/png_encoder.h"

namespace platform {

// Starts COM on the calling thread on first use (apartment-threaded, as the UI thread wants);
// ole32 and windowscodecs are bound then, not at start-up.
class WicPngEncoder final : public editor::PngEncoder {
public:
    [[nodiscard]] std::string Encode(int width, int height,
                                     std::span<const std::uint32_t> pixels) const override;
};

}  // namespace platform
