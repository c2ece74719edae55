#include "codecs/corrections/colour_profile.h"

#include "codecs/corrections/row_conversion.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <mutex>

namespace velmora::codecs {
namespace {

// Pictures of one source mostly share a profile or two; a few transforms serve a whole folder.
constexpr size_t kCachedTransforms = 8;
// Profiles are parsed from at most this many bytes (an APP2 sequence can hold 255 x 64 KB).
constexpr size_t kMaxProfileBytes = size_t{16} << 20;

struct ProfileClose {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileClose>;

std::vector<uint8_t> profileBytes(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    if (profile == nullptr || !cmsSaveProfileToMem(profile, nullptr, &size) || size == 0) {
        return {};
    }
    std::vector<uint8_t> bytes(size);
    if (!cmsSaveProfileToMem(profile, bytes.data(), &size)) {
        return {};
    }
    return bytes;
}

struct CachedTransform {
    PixelLayout layout;
    std::vector<uint8_t> profile;
    std::shared_ptr<const ColourTransform> transform; // null: the profile is not usable
};

class TransformCache {
  public:
    std::shared_ptr<const ColourTransform> find(std::span<const uint8_t> profile,
                                                PixelLayout layout) {
        const std::lock_guard lock(mutex_);
        const auto hit = std::ranges::find_if(entries_, [&](const CachedTransform& entry) {
            return entry.layout == layout && std::ranges::equal(entry.profile, profile);
        });
        if (hit != entries_.end()) {
            entries_.splice(entries_.begin(), entries_, hit);
            return hit->transform;
        }
        auto transform = make(profile, layout);
        entries_.push_front({layout, {profile.begin(), profile.end()}, transform});
        if (entries_.size() > kCachedTransforms) {
            entries_.pop_back();
        }
        return transform;
    }

    void setDisplayProfile(std::vector<uint8_t> profile) {
        const std::lock_guard lock(mutex_);
        display_ = std::move(profile);
        output_.reset();
        entries_.clear();
    }

    std::vector<uint8_t> outputBytes() {
        const std::lock_guard lock(mutex_);
        return profileBytes(outputProfile());
    }

  private:
    // Opened once per output choice: building sRGB's curves is a good part of making a transform.
    cmsHPROFILE outputProfile() {
        if (!output_) {
            output_ = openOutputProfile();
        }
        return output_.get();
    }

    Profile openOutputProfile() const {
        if (!display_.empty()) {
            Profile screen(cmsOpenProfileFromMem(display_.data(),
                                                 static_cast<cmsUInt32Number>(display_.size())));
            if (screen && cmsGetColorSpace(screen.get()) == cmsSigRgbData &&
                cmsIsIntentSupported(screen.get(), INTENT_PERCEPTUAL, LCMS_USED_AS_OUTPUT)) {
                return screen;
            }
        }
        return Profile(cmsCreate_sRGBProfile());
    }

    std::shared_ptr<const ColourTransform> make(std::span<const uint8_t> bytes,
                                                PixelLayout layout) {
        if (bytes.empty() || bytes.size() > kMaxProfileBytes) {
            return nullptr;
        }
        const Profile source(
            cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
        const cmsColorSpaceSignature wanted =
            layout == PixelLayout::Bgr ? cmsSigRgbData : cmsSigCmykData;
        if (!source || cmsGetColorSpace(source.get()) != wanted) {
            return nullptr;
        }
        const cmsUInt32Number inputFormat = layout == PixelLayout::Bgr    ? TYPE_BGR_8
                                            : layout == PixelLayout::Cmyk ? TYPE_CMYK_8
                                                                          : TYPE_CMYK_8_REV;
        // Without the one-pixel cache a transform is only read while converting, so the
        // threads that decode at the same time can share it.
        cmsHTRANSFORM transform =
            cmsCreateTransform(source.get(), inputFormat, outputProfile(), TYPE_BGR_8,
                               INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
        if (transform == nullptr) {
            return nullptr;
        }
        return std::make_shared<const ColourTransform>(transform);
    }

    std::mutex mutex_;
    std::vector<uint8_t> display_;
    Profile output_;
    std::list<CachedTransform> entries_;
};

TransformCache& cache() {
    static TransformCache transforms;
    return transforms;
}

} // namespace

ColourTransform::~ColourTransform() {
    cmsDeleteTransform(handle_);
}

void ColourTransform::convert(const uint8_t* in, uint8_t* out, uint32_t count) const {
    cmsDoTransform(handle_, in, out, count);
}

void ColourTransform::convertPicture(image::DibImage& image) const {
    RowConversion conversion(*this, image);
    conversion.finish();
}

std::shared_ptr<const ColourTransform> transformFromProfile(std::span<const uint8_t> profile,
                                                            PixelLayout layout) {
    return cache().find(profile, layout);
}

std::vector<uint8_t> profileFromGammaAndPrimaries(uint32_t fileGamma,
                                                  std::span<const uint32_t> primaries) {
    // Without cHRM the primaries and white are sRGB's (D65, ITU-R BT.709).
    static constexpr uint32_t kSrgbPrimaries[8] = {31270, 32900, 64000, 33000,
                                                   30000, 60000, 15000, 6000};
    const std::span<const uint32_t> values =
        primaries.size() == 8 ? primaries : std::span<const uint32_t>(kSrgbPrimaries);
    if (std::ranges::any_of(values, [](uint32_t v) { return v == 0 || v > 100000; })) {
        return {};
    }
    // Exponents outside 1/10 .. 10 describe no real encoding.
    if (fileGamma != 0 && (fileGamma < 10'000 || fileGamma > 1'000'000)) {
        return {};
    }
    // As libpng takes it, a file gamma within 5 % of 1/2.2 needs no correction: the picture is
    // in the screen's (sRGB's) encoding, and with sRGB's primaries there is nothing to do.
    const bool screenGamma = fileGamma == 0 || std::abs(fileGamma * 2.2 / 100000 - 1) <= 0.05;
    const bool srgbPrimaries =
        std::ranges::equal(values, kSrgbPrimaries,
                           [](uint32_t a, uint32_t b) { return (a > b ? a - b : b - a) <= 1000; });
    if (screenGamma && srgbPrimaries) {
        return {};
    }
    const auto xyY = [&](size_t i) {
        return cmsCIExyY{values[i] / 100000.0, values[i + 1] / 100000.0, 1.0};
    };
    const cmsCIExyY white = xyY(0);
    const cmsCIExyYTRIPLE rgb{xyY(2), xyY(4), xyY(6)};
    // The file gamma is the encoding exponent: the decoding curve is its inverse.
    using Curve = std::unique_ptr<cmsToneCurve, decltype(&cmsFreeToneCurve)>;
    static constexpr cmsFloat64Number kSrgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92,
                                                       0.04045};
    Curve curve(screenGamma ? cmsBuildParametricToneCurve(nullptr, 4, kSrgbCurve)
                            : cmsBuildGamma(nullptr, 100000.0 / fileGamma),
                cmsFreeToneCurve);
    if (!curve) {
        return {};
    }
    cmsToneCurve* curves[3] = {curve.get(), curve.get(), curve.get()};
    const Profile profile(cmsCreateRGBProfile(&white, &rgb, curves));
    return profileBytes(profile.get());
}

void setDisplayProfile(std::vector<uint8_t> profile) {
    cache().setDisplayProfile(std::move(profile));
}

std::vector<uint8_t> outputProfileBytes() {
    return cache().outputBytes();
}

} // namespace velmora::codecs
