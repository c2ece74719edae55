#include "codecs/image_format.h"

#include <array>

namespace velmora::codecs {
namespace {

struct Ending {
    std::u16string_view text;
    ImageFormat format;
};

// Tried in this order; the first ending that the name ends with decides.
constexpr std::array<Ending, 15> kEndings{{
    {u".jpg", ImageFormat::Jpeg},
    {u".jpeg", ImageFormat::Jpeg},
    {u".jpe", ImageFormat::Jpeg},
    {u".jfif", ImageFormat::Jpeg},
    {u".gif", ImageFormat::Gif},
    {u".bmp", ImageFormat::Bmp},
    {u".mag", ImageFormat::Mag},
    {u".png", ImageFormat::Png},
    {u".tif", ImageFormat::Tiff},
    {u".tiff", ImageFormat::Tiff},
    {u".webp", ImageFormat::Webp},
    {u".avif", ImageFormat::Avif},
    {u".heic", ImageFormat::Heif},
    {u".heif", ImageFormat::Heif},
    {u".jxl", ImageFormat::Jxl},
}};

constexpr char16_t asciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The endings are lower-case ASCII, so folding the name's letters A-Z is enough.
bool endsWithIgnoringCase(std::u16string_view name, std::u16string_view ending) {
    if (name.size() < ending.size()) {
        return false;
    }
    const auto tail = name.substr(name.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i) {
        if (asciiLower(tail[i]) != ending[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

ImageFormat formatFromExtension(std::u16string_view path) {
    for (const auto& ending : kEndings) {
        if (endsWithIgnoringCase(path, ending.text)) {
            return ending.format;
        }
    }
    return ImageFormat::None;
}

} // namespace velmora::codecs
