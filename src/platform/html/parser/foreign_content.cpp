// The rules for parsing tokens in foreign content (SVG and MathML), and the adjustments of
// foreign tag and attribute names.

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/whitespace.h"

namespace veltrano::html::parser {
namespace {

using K = KnownName;
using NameMap = std::array<NameId, kKnownNameCount>;

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

// Maps the lower-case form of each name to the name itself (the tokenizer lower-cases what
// the tree builder must give back its capitals).
NameMap mapFromLowerCase(std::initializer_list<KnownName> names) {
    NameMap map{};
    for (const KnownName name : names) {
        const KnownName lower = knownName(lowerCase(knownNameText(name)));
        map[static_cast<std::size_t>(lower)] = nameId(name);
    }
    return map;
}

// The HTML Standard's table for "adjust SVG tag names".
NameId adjustedSvgTagName(NameId name) {
    static const NameMap map = mapFromLowerCase({
        K::AltGlyph_,
        K::AltGlyphDef_,
        K::AltGlyphItem_,
        K::AnimateColor_,
        K::AnimateMotion_,
        K::AnimateTransform_,
        K::ClipPath_,
        K::FeBlend_,
        K::FeColorMatrix_,
        K::FeComponentTransfer_,
        K::FeComposite_,
        K::FeConvolveMatrix_,
        K::FeDiffuseLighting_,
        K::FeDisplacementMap_,
        K::FeDistantLight_,
        K::FeDropShadow_,
        K::FeFlood_,
        K::FeFuncA_,
        K::FeFuncB_,
        K::FeFuncG_,
        K::FeFuncR_,
        K::FeGaussianBlur_,
        K::FeImage_,
        K::FeMerge_,
        K::FeMergeNode_,
        K::FeMorphology_,
        K::FeOffset_,
        K::FePointLight_,
        K::FeSpecularLighting_,
        K::FeSpotLight_,
        K::FeTile_,
        K::FeTurbulence_,
        K::ForeignObject_,
        K::GlyphRef_,
        K::LinearGradient_,
        K::RadialGradient_,
        K::TextPath_,
    });
    return name < kKnownNameCount && map[name] != 0 ? map[name] : name;
}

// The HTML Standard's table for "adjust SVG attributes".
NameId adjustedSvgAttributeName(NameId name) {
    static const NameMap map = mapFromLowerCase({
        K::AttributeName_,
        K::AttributeType_,
        K::BaseFrequency_,
        K::BaseProfile_,
        K::CalcMode_,
        K::ClipPathUnits_,
        K::DiffuseConstant_,
        K::EdgeMode_,
        K::FilterUnits_,
        K::GlyphRef_,
        K::GradientTransform_,
        K::GradientUnits_,
        K::KernelMatrix_,
        K::KernelUnitLength_,
        K::KeyPoints_,
        K::KeySplines_,
        K::KeyTimes_,
        K::LengthAdjust_,
        K::LimitingConeAngle_,
        K::MarkerHeight_,
        K::MarkerUnits_,
        K::MarkerWidth_,
        K::MaskContentUnits_,
        K::MaskUnits_,
        K::NumOctaves_,
        K::PathLength_,
        K::PatternContentUnits_,
        K::PatternTransform_,
        K::PatternUnits_,
        K::PointsAtX_,
        K::PointsAtY_,
        K::PointsAtZ_,
        K::PreserveAlpha_,
        K::PreserveAspectRatio_,
        K::PrimitiveUnits_,
        K::RefX_,
        K::RefY_,
        K::RepeatCount_,
        K::RepeatDur_,
        K::RequiredExtensions_,
        K::RequiredFeatures_,
        K::SpecularConstant_,
        K::SpecularExponent_,
        K::SpreadMethod_,
        K::StartOffset_,
        K::StdDeviation_,
        K::StitchTiles_,
        K::SurfaceScale_,
        K::SystemLanguage_,
        K::TableValues_,
        K::TargetX_,
        K::TargetY_,
        K::TextLength_,
        K::ViewBox_,
        K::ViewTarget_,
        K::XChannelSelector_,
        K::YChannelSelector_,
        K::ZoomAndPan_,
    });
    return name < kKnownNameCount && map[name] != 0 ? map[name] : name;
}

// "Adjust foreign attributes": xlink:, xml: and xmlns attributes get their namespace.
void adjustForeignAttribute(Attribute& attribute) {
    const auto set = [&](KnownName local, AttributeNamespace ns) {
        attribute.name = nameId(local);
        attribute.ns = ns;
    };
    switch (known(attribute.name)) {
        case K::XlinkActuate:
            return set(K::Actuate, AttributeNamespace::XLink);
        case K::XlinkArcrole:
            return set(K::Arcrole, AttributeNamespace::XLink);
        case K::XlinkHref:
            return set(K::Href, AttributeNamespace::XLink);
        case K::XlinkRole:
            return set(K::Role, AttributeNamespace::XLink);
        case K::XlinkShow:
            return set(K::Show, AttributeNamespace::XLink);
        case K::XlinkTitle:
            return set(K::Title, AttributeNamespace::XLink);
        case K::XlinkType:
            return set(K::Type, AttributeNamespace::XLink);
        case K::XmlLang:
            return set(K::Lang, AttributeNamespace::Xml);
        case K::XmlSpace:
            return set(K::Space, AttributeNamespace::Xml);
        case K::Xmlns:
            return set(K::Xmlns, AttributeNamespace::Xmlns);
        case K::XmlnsXlink:
            return set(K::Xlink, AttributeNamespace::Xmlns);
        default:
            return;
    }
}

// The start tags that break out of foreign content back to HTML.
bool breaksOutOfForeignContent(const Token& token) {
    switch (known(token.name)) {
        case K::B:
        case K::Big:
        case K::Blockquote:
        case K::Body:
        case K::Br:
        case K::Center:
        case K::Code:
        case K::Dd:
        case K::Div:
        case K::Dl:
        case K::Dt:
        case K::Em:
        case K::Embed:
        case K::H1:
        case K::H2:
        case K::H3:
        case K::H4:
        case K::H5:
        case K::H6:
        case K::Head:
        case K::Hr:
        case K::I:
        case K::Img:
        case K::Li:
        case K::Listing:
        case K::Menu:
        case K::Meta:
        case K::Nobr:
        case K::Ol:
        case K::P:
        case K::Pre:
        case K::Ruby:
        case K::S:
        case K::Small:
        case K::Span:
        case K::Strong:
        case K::Strike:
        case K::Sub:
        case K::Sup:
        case K::Table:
        case K::Tt:
        case K::U:
        case K::Ul:
        case K::Var:
            return true;
        case K::Font:
            return std::any_of(
                token.attributes.begin(), token.attributes.end(), [](const Attribute& attribute) {
                    return attribute.name == nameId(K::Color) ||
                           attribute.name == nameId(K::Face) || attribute.name == nameId(K::Size);
                });
        default:
            return false;
    }
}

bool equalsIgnoringAsciiCase(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() && lowerCase(text) == lower;
}

}  // namespace

std::span<const Attribute> TreeBuilder::adjustedForeignAttributes(const Token& token,
                                                                  Namespace ns) {
    mAdjustedAttributes.assign(token.attributes.begin(), token.attributes.end());
    for (Attribute& attribute : mAdjustedAttributes) {
        if (ns == Namespace::MathMl && attribute.name == nameId(K::Definitionurl)) {
            attribute.name = nameId(K::DefinitionURL_);
        } else if (ns == Namespace::Svg) {
            attribute.name = adjustedSvgAttributeName(attribute.name);
        }
        adjustForeignAttribute(attribute);
    }
    return mAdjustedAttributes;
}

NodeId TreeBuilder::insertForeignElementForToken(const Token& token, Namespace ns) {
    const NameId name = ns == Namespace::Svg ? adjustedSvgTagName(token.name) : token.name;
    return insertForeignElement(token, name, ns, adjustedForeignAttributes(token, ns));
}

bool TreeBuilder::isHtmlIntegrationPoint(NameId name, Namespace ns,
                                         std::span<const Attribute> attributes) const {
    if ((elementKinds(name, ns) & kSvgHtmlIntegrationPoint) != 0) {
        return true;
    }
    if (ns != Namespace::MathMl || name != nameId(K::AnnotationXml)) {
        return false;
    }
    for (const Attribute& attribute : attributes) {
        if (attribute.name == nameId(K::Encoding) && attribute.ns == AttributeNamespace::None) {
            const std::string_view value = textOf(attribute.value);
            return equalsIgnoringAsciiCase(value, "text/html") ||
                   equalsIgnoringAsciiCase(value, "application/xhtml+xml");
        }
    }
    return false;
}

TreeBuilder::Step TreeBuilder::foreignContent(Token& token) {
    const auto breakOut = [&] {
        while (true) {
            const OpenElement& node = mOpenElements.current();
            if (node.ns == Namespace::Html || node.htmlIntegrationPoint ||
                (elementKinds(node.name, node.ns) & kMathMlTextIntegrationPoint) != 0) {
                return Step::ReprocessInHtmlContent;
            }
            popCurrentNode();
        }
    };
    switch (token.kind) {
        case TokenKind::NullCharacter:
            if (mReplacementCharacter.empty()) {
                mReplacementCharacter = mText.make("\xEF\xBF\xBD");
            }
            insertCharacters(mReplacementCharacter);
            return Step::Done;
        case TokenKind::Characters:
            insertCharacters(token.text);
            if (!isAllWhitespace(textOf(token.text))) {
                mFramesetOk = false;
            }
            return Step::Done;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            if (breaksOutOfForeignContent(token)) {
                return breakOut();
            }
            insertForeignElementForToken(token, mOpenElements.current().ns);
            // A self-closing svg script would run here; scripts are not run.
            if (token.selfClosing) {
                popCurrentNode();
            }
            return Step::Done;
        case TokenKind::EndTag: {
            if (token.name == nameId(K::Br) || token.name == nameId(K::P)) {
                return breakOut();
            }
            // "Any other end tag" walks down through foreign elements to one whose tag name
            // matches, and hands the token to the insertion mode at the first HTML element.
            const std::ptrdiff_t position = mOpenElements.topmostForeign(token.name);
            if (position != OpenElementStack::kNone &&
                position > mOpenElements.nearest(Boundary::HtmlElement)) {
                popUntilNode(mOpenElements[static_cast<std::size_t>(position)].node);
                return Step::Done;
            }
            return Step::ReprocessInHtmlContent;
        }
        case TokenKind::EndOfFile:
            break;
    }
    return Step::ReprocessInHtmlContent;
}

}  // namespace veltrano::html::parser
