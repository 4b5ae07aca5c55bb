#include "editions/render/animated_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace tools {

namespace {

// One palette index is kept for the transparent pixels.
constexpr std::size_t kMaxColours = 255;

int AppendTo(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

}  // namespace

AnimatedGif::AnimatedGif(int width, int height) : width_(width), height_(height) {}

std::uint8_t AnimatedGif::indexOf(COLORREF colour) {
    colour &= 0xffffff;
    if (const auto found = indices_.find(colour); found != indices_.end()) return found->second;
    if (palette_.size() == kMaxColours) {
        throw std::runtime_error("the animation has more than " + std::to_string(kMaxColours) +
                                 " colours, more than a GIF holds");
    }
    palette_.push_back(colour);
    return indices_[colour] = static_cast<std::uint8_t>(palette_.size() - 1);
}

void AnimatedGif::add(const surface::Canvas& frame) {
    if (frame.width() != width_ || frame.height() != height_) {
        throw std::logic_error("a frame of another size than the animation's");
    }
    const std::size_t pixels = static_cast<std::size_t>(width_) * height_;
    if (shown_.empty()) {
        shown_.assign(frame.data(), frame.data() + pixels);
        first_.resize(pixels);
        std::transform(shown_.begin(), shown_.end(), first_.begin(),
                       [this](COLORREF colour) { return indexOf(colour); });
        return;
    }
    surface::PixelRect area{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * width_;
        const COLORREF* now = frame.data() + rowStart;
        COLORREF* before = shown_.data() + rowStart;
        if (std::memcmp(now, before, width_ * sizeof(COLORREF)) == 0) continue;
        for (int x = 0; x < width_; ++x) {
            if (now[x] == before[x]) continue;
            before[x] = now[x];
            changedAt_.push_back(static_cast<std::uint32_t>(rowStart + x));
            changedTo_.push_back(indexOf(now[x]));
            area = {std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
                    y + 1};
        }
    }
    later_.push_back({area, changedAt_.size()});
}

std::string AnimatedGif::encode(int delay, int lastDelay) const {
    std::string encoded;
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gif(EGifOpen(&encoded, AppendTo, &error));
    if (!gif) throw std::runtime_error(GifErrorString(error));
    auto check = [&](int result) {
        if (result == GIF_ERROR) throw std::runtime_error(GifErrorString(gif->Error));
    };
    EGifSetGifVersion(gif.get(), true);

    const auto transparent = static_cast<GifPixelType>(palette_.size());
    int paletteSize = 2;
    while (paletteSize < static_cast<int>(palette_.size()) + 1) paletteSize *= 2;
    std::vector<GifColorType> colours(paletteSize, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        colours[i] = {static_cast<GifByteType>(palette_[i] & 0xff),
                      static_cast<GifByteType>((palette_[i] >> 8) & 0xff),
                      static_cast<GifByteType>((palette_[i] >> 16) & 0xff)};
    }
    ColorMapObject* palette = GifMakeMapObject(paletteSize, colours.data());
    if (palette == nullptr) throw std::runtime_error("out of memory");
    const int described = EGifPutScreenDesc(gif.get(), width_, height_, 8, 0, palette);
    GifFreeMapObject(palette);
    check(described);

    // Loops for ever (the application extension every viewer knows for it).
    static const char kLoopName[] = "NETSCAPE2.0";
    static const GifByteType kLoopForever[] = {1, 0, 0};
    check(EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(gif.get(), 11, kLoopName));
    check(EGifPutExtensionBlock(gif.get(), sizeof kLoopForever, kLoopForever));
    check(EGifPutExtensionTrailer(gif.get()));

    const std::size_t frames = later_.size() + 1;
    auto startFrame = [&](std::size_t frame, const surface::PixelRect& area) {
        const GraphicsControlBlock control{DISPOSE_DO_NOT, false,
                                           frame + 1 == frames ? lastDelay : delay,
                                           frame == 0 ? NO_TRANSPARENT_COLOR : transparent};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        check(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension));
        check(EGifPutImageDesc(gif.get(), area.left, area.top, area.right - area.left,
                               area.bottom - area.top, false, nullptr));
    };

    std::vector<GifPixelType> row(width_);
    startFrame(0, {0, 0, width_, height_});
    for (int y = 0; y < height_; ++y) {
        std::copy_n(first_.begin() + static_cast<std::ptrdiff_t>(y) * width_, width_, row.begin());
        check(EGifPutLine(gif.get(), row.data(), width_));
    }

    std::size_t change = 0;
    for (std::size_t frame = 1; frame < frames; ++frame) {
        // A frame that changed nothing is one transparent pixel, so it still takes its time.
        const Frame& later = later_[frame - 1];
        const surface::PixelRect area =
            later.area.empty() ? surface::PixelRect{0, 0, 1, 1} : later.area;
        startFrame(frame, area);
        const int areaWidth = area.right - area.left;
        for (int y = area.top; y < area.bottom; ++y) {
            std::fill_n(row.begin(), areaWidth, transparent);
            const std::size_t rowEnd = static_cast<std::size_t>(y + 1) * width_;
            for (; change < later.end && changedAt_[change] < rowEnd; ++change) {
                row[changedAt_[change] % width_ - area.left] = changedTo_[change];
            }
            check(EGifPutLine(gif.get(), row.data(), areaWidth));
        }
    }

    // Closing writes the trailer and frees the encoder, whatever it returns.
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) {
        throw std::runtime_error(GifErrorString(error));
    }
    return encoded;
}

}  // namespace tools
