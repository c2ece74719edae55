// libpng's read or write structures with their info structure, freed together. The library's
// messages are not for the user: an error long-jumps back to the caller's setjmp frame and
// comes out as a result code; warnings are dropped.
#pragma once

#include <png.h>

namespace velmora::codecs {

enum class PngDirection { Read, Write };

template <PngDirection direction> class PngStructs {
  public:
    PngStructs() {
        if constexpr (direction == PngDirection::Read) {
            png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, ignore);
        } else {
            png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, ignore);
        }
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
        }
    }
    ~PngStructs() {
        png_infopp info = info_ != nullptr ? &info_ : nullptr;
        if constexpr (direction == PngDirection::Read) {
            png_destroy_read_struct(&png_, info, nullptr);
        } else {
            png_destroy_write_struct(&png_, info);
        }
    }
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;

    bool ok() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    static void stopOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
    static void ignore(png_structp, png_const_charp) {}

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

} // namespace velmora::codecs
