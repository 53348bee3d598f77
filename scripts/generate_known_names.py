#!/usr/bin/env python3
"""Writes src/platform/html/parser/known_names.{h,cpp}: the element and attribute names the HTML
engine knows by number, and a perfect hash (hash and displace) from a name to its number.

Run from the repository folder after changing the lists below; the output is committed.
"""

import pathlib
import shutil
import subprocess

HTML_ELEMENTS = """
a abbr acronym address applet area article aside audio b base basefont bdi bdo bgsound big
blink blockquote body br button canvas caption center cite code col colgroup data datalist dd
del details dfn dialog dir div dl dt em embed fieldset figcaption figure font footer form frame
frameset h1 h2 h3 h4 h5 h6 head header hgroup hr html i iframe image img input ins isindex kbd
keygen label legend li link listing main map mark marquee menu menuitem meta meter multicol nav
nextid nobr noembed noframes noscript object ol optgroup option output p param picture
plaintext pre progress q rb rp rt rtc ruby s samp script search section select selectedcontent
slot small source spacer span strike strong style sub summary sup table tbody td template
textarea tfoot th thead time title tr track tt u ul var video wbr xmp
""".split()

# SVG element names: the camel-case forms the tree builder gives foreign elements, their
# lower-case forms as the tokenizer reads them, and the names rendered text looks at.
SVG_ADJUSTED = """
altGlyph altGlyphDef altGlyphItem animateColor animateMotion animateTransform clipPath feBlend
feColorMatrix feComponentTransfer feComposite feConvolveMatrix feDiffuseLighting
feDisplacementMap feDistantLight feDropShadow feFlood feFuncA feFuncB feFuncG feFuncR
feGaussianBlur feImage feMerge feMergeNode feMorphology feOffset fePointLight
feSpecularLighting feSpotLight feTile feTurbulence foreignObject glyphRef linearGradient
radialGradient textPath
""".split()
SVG_OTHER = "svg desc g path rect circle text tspan use defs symbol metadata mask pattern marker".split()

MATHML = """
math mi mo mn ms mtext mglyph malignmark annotation-xml mrow mfrac msup msub msqrt mroot
""".split()

ATTRIBUTES = """
id class style hidden type open controls href rel media lang title dir colspan rowspan span
color face size charset http-equiv content name value encoding display xmlns src alt action
method border width height align valign bgcolor cellpadding cellspacing nowrap prompt label
selected checked disabled multiple
""".split()

# Attribute names the tree builder gives foreign elements (their lower-case forms are added).
SVG_ATTRIBUTES_ADJUSTED = """
attributeName attributeType baseFrequency baseProfile calcMode clipPathUnits diffuseConstant
edgeMode filterUnits glyphRef gradientTransform gradientUnits kernelMatrix kernelUnitLength
keyPoints keySplines keyTimes lengthAdjust limitingConeAngle markerHeight markerUnits
markerWidth maskContentUnits maskUnits numOctaves pathLength patternContentUnits
patternTransform patternUnits pointsAtX pointsAtY pointsAtZ preserveAlpha preserveAspectRatio
primitiveUnits refX refY repeatCount repeatDur requiredExtensions requiredFeatures
specularConstant specularExponent spreadMethod startOffset stdDeviation stitchTiles
surfaceScale systemLanguage tableValues targetX targetY textLength viewBox viewTarget
xChannelSelector yChannelSelector zoomAndPan
""".split()
MATHML_ATTRIBUTES_ADJUSTED = ["definitionURL"]
# Local names of the foreign attributes (xlink:href is "href" in the xlink namespace).
FOREIGN_ATTRIBUTE_LOCAL_NAMES = "actuate arcrole role show space xlink".split()
# The foreign attributes as the tokenizer reads them, which the tree builder splits into a
# namespace and a local name. Kept last so that adding them numbers no other name anew.
FOREIGN_ATTRIBUTES_QUALIFIED = """
xlink:actuate xlink:arcrole xlink:href xlink:role xlink:show xlink:title xlink:type xml:lang
xml:space xmlns:xlink
""".split()


def identifier(name):
    """The C++ enumerator for a name: "annotation-xml" -> AnnotationXml, "foreignObject" ->
    ForeignObject_ (a trailing underscore marks names with upper case letters, which differ
    from their lower-case forms), "http-equiv" -> HttpEquiv."""
    parts = name.replace(":", "-").split("-")
    text = "".join(part[:1].upper() + part[1:] for part in parts)
    if name != name.lower():
        text += "_"
    return text


def all_names():
    names = []
    seen = set()
    groups = [HTML_ELEMENTS, SVG_ADJUSTED, [n.lower() for n in SVG_ADJUSTED], SVG_OTHER, MATHML,
              ATTRIBUTES, SVG_ATTRIBUTES_ADJUSTED, [n.lower() for n in SVG_ATTRIBUTES_ADJUSTED],
              MATHML_ATTRIBUTES_ADJUSTED, [n.lower() for n in MATHML_ATTRIBUTES_ADJUSTED],
              FOREIGN_ATTRIBUTE_LOCAL_NAMES, FOREIGN_ATTRIBUTES_QUALIFIED]
    for group in groups:
        for name in group:
            if name not in seen:
                seen.add(name)
                names.append(name)
    return names


MASK32 = 0xFFFFFFFF


def fnv(name, seed):
    h = (2166136261 ^ seed) & MASK32
    for byte in name.encode():
        h ^= byte
        h = (h * 16777619) & MASK32
    return h


def build_perfect_hash(names):
    """Hash and displace: names fall into buckets by fnv(name, 0); each bucket gets the first
    displacement d for which fnv(name, d) puts all its names into free slots."""
    slot_count = 1
    while slot_count < len(names) * 2:
        slot_count *= 2
    bucket_count = slot_count // 4
    buckets = [[] for _ in range(bucket_count)]
    for name in names:
        buckets[fnv(name, 0) % bucket_count].append(name)
    displacements = [0] * bucket_count
    slots = [None] * slot_count
    for index in sorted(range(bucket_count), key=lambda b: -len(buckets[b])):
        bucket = buckets[index]
        if not bucket:
            continue
        displacement = 1
        while True:
            wanted = [fnv(name, displacement) % slot_count for name in bucket]
            if len(set(wanted)) == len(wanted) and all(slots[s] is None for s in wanted):
                break
            displacement += 1
        displacements[index] = displacement
        for name, slot in zip(bucket, wanted):
            slots[slot] = name
    return bucket_count, displacements, slot_count, slots


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    out_dir = root / "src" / "platform" / "html" / "parser"
    names = all_names()
    bucket_count, displacements, slot_count, slots = build_perfect_hash(names)
    index_of = {name: i + 1 for i, name in enumerate(names)}

    header = ["// Generated by scripts/generate_known_names.py; do not edit.", "#pragma once", "",
              "#include <cstdint>", "#include <string_view>", "",
              "namespace veltrano::html::parser {", "",
              "// The names the engine knows by number, elements' and attributes' alike. A name",
              "// read from a document that is not among them gets a number from kKnownNameCount",
              "// on (see NameTable).",
              "enum class KnownName : std::uint16_t {", "    None = 0,"]
    for name in names:
        header.append(f"    {identifier(name)} = {index_of[name]},  // {name}")
    header += ["};", "",
               f"inline constexpr std::uint16_t kKnownNameCount = {len(names) + 1};", "",
               "// The name's number, or KnownName::None when it is not known (exact comparison:",
               "// the tokenizer has already lower-cased what HTML lower-cases).",
               "KnownName knownName(std::string_view name);", "",
               "// The text of a known name.",
               "std::string_view knownNameText(KnownName name);", "",
               "}  // namespace veltrano::html::parser", ""]
    (out_dir / "known_names.h").write_text("\n".join(header))

    source = ["// Generated by scripts/generate_known_names.py; do not edit.",
              '#include "platform/html/parser/known_names.h"', "", "#include <array>", "",
              "namespace veltrano::html::parser {", "namespace {", "",
              "constexpr std::array<std::string_view, kKnownNameCount> kTexts{", '    "",']
    for name in names:
        source.append(f'    "{name}",')
    source += ["};", "",
               f"constexpr std::uint32_t kBucketCount = {bucket_count};",
               f"constexpr std::uint32_t kSlotCount = {slot_count};", "",
               "constexpr std::array<std::uint16_t, kBucketCount> kDisplacements{"]
    for start in range(0, bucket_count, 12):
        source.append("    " + ", ".join(str(d) for d in displacements[start:start + 12]) + ",")
    source += ["};", "", "// The number of the name in each slot, 0 for an empty slot.",
               "constexpr std::array<std::uint16_t, kSlotCount> kSlots{"]
    numbers = [index_of[s] if s is not None else 0 for s in slots]
    for start in range(0, slot_count, 16):
        source.append("    " + ", ".join(str(n) for n in numbers[start:start + 16]) + ",")
    source += ["};", "",
               "constexpr std::uint32_t fnv(std::string_view name, std::uint32_t seed) {",
               "    std::uint32_t hash = 2166136261u ^ seed;",
               "    for (const char c : name) {",
               "        hash ^= static_cast<unsigned char>(c);",
               "        hash *= 16777619u;",
               "    }",
               "    return hash;",
               "}", "",
               "}  // namespace", "",
               "KnownName knownName(std::string_view name) {",
               "    const std::uint32_t displacement = kDisplacements[fnv(name, 0) % kBucketCount];",
               "    const std::uint16_t number = kSlots[fnv(name, displacement) % kSlotCount];",
               "    return number != 0 && kTexts[number] == name ? static_cast<KnownName>(number)",
               "                                                 : KnownName::None;",
               "}", "",
               "std::string_view knownNameText(KnownName name) {",
               "    return kTexts[static_cast<std::uint16_t>(name)];",
               "}", "",
               "}  // namespace veltrano::html::parser", ""]
    (out_dir / "known_names.cpp").write_text("\n".join(source))
    # Formatted like the rest of the code, so that regenerating shows only real changes.
    if shutil.which("clang-format"):
        subprocess.run(["clang-format", "-i", str(out_dir / "known_names.h"),
                        str(out_dir / "known_names.cpp")], check=True)


if __name__ == "__main__":
    main()
