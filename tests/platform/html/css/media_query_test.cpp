#include "platform/html/css/media_query.h"

#include <string>

#include <gtest/gtest.h>

namespace veltrano::html::css {
namespace {

struct MediaCase {
    const char* name;
    const char* query;
    bool matches;
};

class MediaQuery : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaQuery, IsAnsweredForA1280By1024Screen) {
    EXPECT_EQ(matchesMediaQueryList(GetParam().query), GetParam().matches) << GetParam().query;
}

INSTANTIATE_TEST_SUITE_P(
    Media, MediaQuery,
    ::testing::Values(
        MediaCase{"EmptyListMatches", "", true}, MediaCase{"AllAndScreen", "all, screen", true},
        MediaCase{"Print", "print", false},
        MediaCase{"UnknownTypes", "tv, handheld, speech", false},
        MediaCase{"NotPrint", "not print", true}, MediaCase{"NotScreen", "not screen", false},
        MediaCase{"OneOfTheListIsEnough", "print, screen", true},
        MediaCase{"OnlyScreenWithWidth", "only screen and (min-width: 1000px)", true},
        MediaCase{"MaxWidth", "(max-width: 600px)", false},
        MediaCase{"EmsAreSixteenPixels", "(min-width: 80em)", true},
        MediaCase{"JustOverTheWidth", "(min-width: 81em)", false},
        MediaCase{"Orientation", "screen and (orientation: landscape)", true},
        MediaCase{"Portrait", "(orientation: portrait)", false},
        MediaCase{"RangeSyntax", "(width >= 1280px)", true},
        MediaCase{"RangeOnBothSides", "(1000px < width < 1300px)", true},
        MediaCase{"RangeNotMet", "(width > 1280px)", false},
        MediaCase{"ValueFirst", "(1300px <= width)", false},
        MediaCase{"Height", "(height: 1024px)", true},
        MediaCase{"AspectRatio", "(aspect-ratio: 5/4)", true},
        MediaCase{"WideAspectRatio", "(min-aspect-ratio: 16/9)", false},
        MediaCase{"UnknownFeature", "(inverted-colors: none)", false},
        MediaCase{"NotOfUnknownIsUnknown", "not (inverted-colors: none)", false},
        MediaCase{"AMouse", "(hover: hover) and (pointer: fine) and (any-hover)", true},
        MediaCase{"NoTouch", "(pointer: coarse), (any-pointer: none)", false},
        MediaCase{"NoScripts", "(scripting: none) and (not (scripting))", true},
        MediaCase{"AndOfBoth", "(min-width: 100px) and (max-width: 200px)", false},
        MediaCase{"OrOfEither", "(min-width: 100px) or (max-width: 200px)", true},
        MediaCase{"NestedConditions", "((min-width: 100px) and (not (max-width: 200px)))", true},
        MediaCase{"BrokenQueryIsNotAll", "screen and, print", false},
        MediaCase{"BrokenQueryDoesNotSinkTheList", "garbage garbage, screen", true},
        MediaCase{"LightColourScheme", "(prefers-color-scheme: dark)", false},
        MediaCase{"NoReducedMotion", "(prefers-reduced-motion: reduce)", false},
        MediaCase{"OneDevicePixelPerPixel", "(-webkit-min-device-pixel-ratio: 1.5)", false},
        MediaCase{"ResolutionInDppx", "(resolution: 1dppx)", true},
        MediaCase{"UnknownUnit", "(min-width: 10foo)", false}),
    [](const ::testing::TestParamInfo<MediaCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano::html::css
