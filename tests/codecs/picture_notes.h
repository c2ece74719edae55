// Orientation and colour-profile notes for test pictures: an EXIF block holding one Orientation
// value, JPEG marker segments, and ICC profiles made with Little CMS.
#pragma once

#include <lcms2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// A little-endian TIFF structure whose only directory holds one Orientation entry (SHORT).
inline std::string exifTiff(uint16_t orientation) {
    std::string tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\0\0\0\0\0\0\0\0", 26);
    tiff[18] = static_cast<char>(orientation & 0xFF);
    tiff[19] = static_cast<char>(orientation >> 8);
    return tiff;
}

inline std::string exifApp1(const std::string& tiff) {
    return std::string("Exif\0\0", 6) + tiff;
}

// The JPEG with one more marker segment right after its start-of-image marker.
inline std::string withSegment(const std::string& jpeg, uint8_t marker, const std::string& data) {
    std::string segment{'\xFF', static_cast<char>(marker)};
    const auto length = static_cast<uint16_t>(data.size() + 2);
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.substr(0, 2) + segment + data + jpeg.substr(2);
}

inline std::string iccApp2(const std::vector<uint8_t>& profile) {
    return std::string("ICC_PROFILE\0\x01\x01", 14) + std::string(profile.begin(), profile.end());
}

inline std::vector<uint8_t> savedProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::vector<uint8_t> bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// An RGB profile of D65 white with the given primaries (red, green, blue x and y) and either
// the sRGB curve (gamma 0) or a pure power curve.
inline std::vector<uint8_t> rgbProfile(const double (&xy)[6], double gamma) {
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{xy[0], xy[1], 1.0}, {xy[2], xy[3], 1.0}, {xy[4], xy[5], 1.0}};
    static constexpr cmsFloat64Number kSrgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92,
                                                  0.04045};
    cmsToneCurve* curve =
        gamma == 0 ? cmsBuildParametricToneCurve(nullptr, 4, kSrgb) : cmsBuildGamma(nullptr, gamma);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return savedProfile(profile);
}

inline std::vector<uint8_t> displayP3Profile() {
    return rgbProfile({0.680, 0.320, 0.265, 0.690, 0.150, 0.060}, 0);
}

inline std::vector<uint8_t> adobeRgbProfile() {
    return rgbProfile({0.64, 0.33, 0.21, 0.71, 0.15, 0.06}, 563.0 / 256);
}

// A printer-like CMYK profile: its AToB0 table takes ink amounts to Lab through the simple
// sum of ink and black, softened so that it is not the plain arithmetic.
inline std::vector<uint8_t> cmykProfile(int gridPoints = 9) {
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_PERCEPTUAL, 0);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* table =
        cmsStageAllocCLut16bit(nullptr, static_cast<cmsUInt32Number>(gridPoints), 4, 3, nullptr);
    cmsStageSampleCLut16bit(
        table,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) -> cmsInt32Number {
            double rgb[3];
            const double k = in[3] / 65535.0;
            for (int i = 0; i < 3; ++i) {
                const double ink = in[i] / 65535.0;
                rgb[i] = (1 - ink) * (1 - 0.9 * k) * (0.95 + 0.05 * (1 - ink));
            }
            cmsCIELab lab;
            cmsDoTransform(static_cast<cmsHTRANSFORM>(cargo), rgb, &lab, 1);
            cmsFloat2LabEncoded(out, &lab);
            return TRUE;
        },
        toLab, 0);
    // The tag's form is curves, table, curves; identity curves around the table.
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return savedProfile(profile);
}

} // namespace velmora::test
