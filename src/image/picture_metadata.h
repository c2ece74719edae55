// What a picture's file holds besides its pixels, kept so that a save can write it again: the
// readers that know a block fill it in, the writers whose format has a place for it write it.
#pragma once

#include "image/turn.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::image {

// A PNG text chunk: tEXt and zTXt hold Latin-1, iTXt UTF-8 with a language and translated key.
struct TextChunk {
    std::string keyword;
    std::string text;
    bool international = false; // iTXt
    bool compressed = false;    // zTXt, or a compressed iTXt
    std::string language;
    std::string translatedKeyword;
};

// The file's size and modification time when it was read; a lossless save from the file is
// only made while they are unchanged.
struct FileStamp {
    uint64_t size = 0;
    int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

struct PictureMetadata {
    std::vector<uint8_t> exif; // the TIFF structure, without the "Exif\0\0" of a JPEG marker
    std::vector<uint8_t> xmp;  // the XMP packet
    std::vector<uint8_t> icc;  // the embedded colour profile
    std::vector<std::string> comments;
    std::vector<TextChunk> texts;
    // The pixels were converted from icc (or the file's gamma) to the output profile.
    bool coloursConverted = false;
    // How the reader turned the stored pixels upright.
    Turn readerTurn;
    // Set when the pixels are a JPEG file's, for a lossless save from that file.
    std::optional<FileStamp> jpegSource;
};

} // namespace velmora::image
