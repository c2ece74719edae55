#include "platform/qt/japanese_font.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace velmora::platform::qt {
namespace {

struct PatternDestroy {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDestroy>;

QString lookUpJapaneseFamily() {
    const Pattern wanted(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja")));
    if (!wanted || FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern) == FcFalse) {
        return {};
    }
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, wanted.get(), &result));
    FcLangSet* languages = nullptr;
    FcChar8* family = nullptr;
    if (!match || FcPatternGetLangSet(match.get(), FC_LANG, 0, &languages) != FcResultMatch ||
        FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual ||
        FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) {
        return {};
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

} // namespace

QString japaneseUiFamily() {
    static const QString family = lookUpJapaneseFamily();
    return family;
}

} // namespace velmora::platform::qt
