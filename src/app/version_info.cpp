#include "app/version_info.h"

#include "codecs/readers.h"

#include <QtGlobal>

#include <cstdio>
#include <jpeglib.h>
#include <lcms2.h>
#include <libexif/exif-data.h>
#include <png.h>
#include <tiffio.h>

namespace velmora::app {
namespace {

QString firstLine(const char* text) {
    return QString::fromLatin1(text).section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

QString versionText() {
    QString text;
    text += QStringLiteral("velmora %1\n").arg(QStringLiteral(VELMORA_VERSION));
    text += QStringLiteral("reads: JPEG GIF BMP MAG PNG TIFF WebP AVIF HEIF JPEG-XL; "
                           "writes: JPEG BMP PNG TIFF WebP AVIF\n");
    text += QStringLiteral("Qt %1 (built with %2)\n")
                .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
    text += QStringLiteral("libjpeg API %1").arg(JPEG_LIB_VERSION);
#ifdef LIBJPEG_TURBO_VERSION_NUMBER
    constexpr int kTurbo = LIBJPEG_TURBO_VERSION_NUMBER; // MMMmmmppp
    text += QStringLiteral(" (libjpeg-turbo %1.%2.%3)")
                .arg(kTurbo / 1000000)
                .arg(kTurbo / 1000 % 1000)
                .arg(kTurbo % 1000);
#endif
    text += QLatin1Char('\n');
    text += QStringLiteral("libpng %1 (built with %2)\n")
                .arg(QString::fromLatin1(png_get_libpng_ver(nullptr)),
                     QStringLiteral(PNG_LIBPNG_VER_STRING));
    text += QStringLiteral("libtiff %1\n").arg(firstLine(TIFFGetVersion()));
    const int lcms = cmsGetEncodedCMMversion(); // MMmm0, e.g. 2140
    text += QStringLiteral("Little CMS %1.%2 (built with %3.%4)\n")
                .arg(lcms / 1000)
                .arg(lcms / 10 % 100)
                .arg(LCMS_VERSION / 1000)
                .arg(LCMS_VERSION / 10 % 100);
    text += QStringLiteral("libexif %1\n").arg(QStringLiteral(VELMORA_LIBEXIF_VERSION));
    const std::string newer = codecs::newerFormatLibraries();
    text += newer.empty() ? QStringLiteral("libwebp, libavif, libheif, libjxl: not available\n")
                          : QString::fromStdString(newer);
    return text;
}

} // namespace velmora::app
