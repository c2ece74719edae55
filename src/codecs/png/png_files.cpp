// loadPng and savePng: the file ends of the PNG adapter.
#include "codecs/png/png_decoder.h"
#include "codecs/png/png_encoder.h"
#include "codecs/readers.h"
#include "platform/regular_file.h"

#include <array>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace velmora::codecs {
namespace {

LoadResult loadResultOf(PngDecodeResult result) {
    using enum PngDecodeResult;
    return {result == Ok             ? LoadCause::Loaded
            : result == NotUpright   ? LoadCause::LoadedNotUpright
            : result == TooLarge     ? LoadCause::TooLarge
            : result == CreateFailed ? LoadCause::OutOfMemory
                                     : LoadCause::Undecodable};
}

} // namespace

// A file that gives no PNG signature, missing ones included, is Faulty.
LoadResult loadPng(image::DibImage& image, std::u16string_view path,
                   image::PictureMetadata* metadata) {
    const platform::FilePtr file = platform::openRegularFile(path);
    std::array<uint8_t, kPngSignatureCheck> start{};
    if (file == nullptr || std::fread(start.data(), 1, start.size(), file.get()) != start.size() ||
        !hasPngSignature(start)) {
        return {LoadCause::Faulty};
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return {LoadCause::ReadError};
    }
    return loadResultOf(
        decodePngStream(file.get(), static_cast<uint64_t>(info.st_size), image, {}, metadata));
}

SaveResult savePng(const image::DibImage& image, std::u16string_view path,
                   const image::PictureMetadata* metadata, bool keepAlpha) {
    SafeFileWriter writer(path);
    return {encodePng(image, writer, metadata, keepAlpha) && writer.commit()
                ? SaveCause::Saved
                : SaveCause::WriteFailed};
}

} // namespace velmora::codecs
