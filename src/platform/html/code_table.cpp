#include "platform/html/code_table.h"

#include <array>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/html/icu_code_lookup.h"

namespace veltrano::html {
namespace {

// Bytes of the character at a pointer, in the encoding whose ICU converter fills the table.
std::string shiftJisBytes(std::size_t pointer) {
    const std::size_t lead = pointer / 188;
    const std::size_t trail = pointer % 188;
    return {static_cast<char>(lead + (lead < 0x1F ? 0x81 : 0xC1)),
            static_cast<char>(trail + (trail < 0x3F ? 0x40 : 0x41))};
}

std::string jis0212Bytes(std::size_t pointer) {
    return {'\x8F', static_cast<char>(pointer / 94 + 0xA1), static_cast<char>(pointer % 94 + 0xA1)};
}

std::string eucKrBytes(std::size_t pointer) {
    return {static_cast<char>(pointer / 190 + 0x81), static_cast<char>(pointer % 190 + 0x41)};
}

std::string big5Bytes(std::size_t pointer) {
    const std::size_t trail = pointer % 157;
    return {static_cast<char>(pointer / 157 + 0x81),
            static_cast<char>(trail + (trail < 0x3F ? 0x40 : 0x62))};
}

std::string gb18030Bytes(std::size_t pointer) {
    const std::size_t trail = pointer % 190;
    return {static_cast<char>(pointer / 190 + 0x81),
            static_cast<char>(trail + (trail < 0x3F ? 0x40 : 0x41))};
}

std::string gb18030FourBytes(std::size_t pointer) {
    return {static_cast<char>(pointer / 12600 + 0x81),
            static_cast<char>(pointer / 1260 % 10 + 0x30),
            static_cast<char>(pointer / 10 % 126 + 0x81), static_cast<char>(pointer % 10 + 0x30)};
}

struct PointerOverride {
    std::size_t pointer;
    char32_t codePoint;
};

// Big5 characters ICU lacks or has in private use where browsers have a Unicode character:
// Hong Kong additions of 2008, CJK strokes and the control pictures at A3C0.
constexpr PointerOverride kBig5Overrides[] = {
    {1008, 0x9F97},  {1016, 0x9F96},  {1099, 0x31C0},  {1100, 0x31C1},  {1101, 0x31C2},
    {1102, 0x31C3},  {1103, 0x31C4},  {1105, 0x31C5},  {1108, 0x31C6},  {1109, 0x31C7},
    {1112, 0x31C8},  {1114, 0x31C9},  {1115, 0x31CA},  {1116, 0x31CB},  {1117, 0x31CC},
    {1119, 0x31CD},  {1120, 0x31CE},  {1170, 0x23DA},  {1171, 0x23DB},  {1730, 0x9FA6},
    {1772, 0x9FA7},  {1779, 0x9FA8},  {1812, 0x9FA9},  {1814, 0x9FAA},  {1816, 0x9FAB},
    {1821, 0x9FAC},  {1844, 0x9FAD},  {1845, 0x9FAE},  {1847, 0x9FAF},  {1866, 0x9FB2},
    {1892, 0x9FB3},  {2082, 0x7BB8},  {2088, 0x7C06},  {2103, 0x7CCE},  {2114, 0x7DD2},
    {2123, 0x7E1D},  {2148, 0x8005},  {2151, 0x8028},  {2221, 0x83C1},  {2239, 0x84A8},
    {2244, 0x840F},  {2303, 0x89A6},  {2304, 0x89A9},  {2354, 0x8D77},  {2400, 0x90FD},
    {2413, 0x92B9},  {2477, 0x975C},  {2498, 0x97FF},  {2605, 0x9F16},  {2673, 0x8503},
    {2746, 0x5159},  {2747, 0x515B},  {2748, 0x515D},  {2749, 0x515E},  {2771, 0x936E},
    {2780, 0x7479},  {2990, 0x6D67},  {3087, 0x799B},  {3259, 0x9097},  {3301, 0x975D},
    {3436, 0x701E},  {3451, 0x5B28},  {4136, 0x7201},  {4138, 0x77D7},  {4141, 0x7E87},
    {4182, 0x99D6},  {4206, 0x91D4},  {4220, 0x60DE},  {4230, 0x6FB6},  {4241, 0x8F36},
    {4258, 0x4FBB},  {4273, 0x71DF},  {4279, 0x9104},  {4282, 0x9DF0},  {4294, 0x83CF},
    {4329, 0x5C10},  {4330, 0x79E3},  {4349, 0x5A67},  {4419, 0x8F0B},  {4422, 0x7B51},
    {4494, 0x62D0},  {4624, 0x6062},  {4694, 0x75F9},  {4708, 0x6C4A},  {4742, 0x9B2E},
    {4748, 0x9F17},  {4815, 0x50ED},  {4828, 0x5F0C},  {4902, 0x880F},  {4922, 0x62CE},
    {4982, 0x7468},  {4992, 0x7162},  {4997, 0x7250},  {5432, 0x2400},  {5433, 0x2401},
    {5434, 0x2402},  {5435, 0x2403},  {5436, 0x2404},  {5437, 0x2405},  {5438, 0x2406},
    {5439, 0x2407},  {5440, 0x2408},  {5441, 0x2409},  {5442, 0x240A},  {5443, 0x240B},
    {5444, 0x240C},  {5445, 0x240D},  {5446, 0x240E},  {5447, 0x240F},  {5448, 0x2410},
    {5449, 0x2411},  {5450, 0x2412},  {5451, 0x2413},  {5452, 0x2414},  {5453, 0x2415},
    {5454, 0x2416},  {5455, 0x2417},  {5456, 0x2418},  {5457, 0x2419},  {5458, 0x241A},
    {5459, 0x241B},  {5460, 0x241C},  {5461, 0x241D},  {5462, 0x241E},  {5463, 0x241F},
    {5464, 0x2421},  {10942, 0x5EF4}, {10946, 0x65E0}, {10948, 0x7676}, {10950, 0x96B6},
    {10957, 0x3003}, {10958, 0x4EDD}, {11204, 0x31CF}, {11210, 0x9FB0}, {11212, 0x9FB1},
    {19028, 0x5029}, {19035, 0x507D}, {19088, 0x5305}, {19096, 0x5344}, {19112, 0x537F},
    {19162, 0x5605}, {19240, 0x5A77}, {19299, 0x5E75}, {19305, 0x5ED0}, {19326, 0x5F58},
    {19355, 0x60A4}, {19398, 0x6490}, {19439, 0x6674}, {19454, 0x675E}, {19553, 0x6C9C},
    {19554, 0x6E1D}, {19557, 0x6E2F}, {19611, 0x716E}, {19643, 0x732A}, {19672, 0x745C},
    {19697, 0x74E9}, {19748, 0x7809}};

// gb18030's A3A0 is the ideographic space in browsers, a private-use character in ICU.
constexpr PointerOverride kGb18030Overrides[] = {{6555, 0x3000}};

struct TableSource {
    const char* icuConverter;
    std::size_t size;
    std::string (*bytesAt)(std::size_t pointer);
    // Browsers map none of these sets' user-defined areas, which ICU maps to private use.
    bool dropPrivateUse;
    std::span<const PointerOverride> overrides;
};

// Indexed by CharacterSet.
constexpr std::array kTableSources = {
    TableSource{"Shift_JIS", 94 * 120, shiftJisBytes, false, {}},
    // Only the rows JIS X 0212 defines: ICU adds IBM's extension after them.
    TableSource{"EUC-JP", 94 * 77, jis0212Bytes, false, {}},
    TableSource{"windows-949", 190 * 126, eucKrBytes, true, {}},
    TableSource{"Big5-HKSCS", 157 * 126, big5Bytes, true, kBig5Overrides},
    TableSource{"gb18030", 190 * 126, gb18030Bytes, false, kGb18030Overrides},
    TableSource{"gb18030", 39420, gb18030FourBytes, false, {}},
};

bool isPrivateUse(char32_t codePoint) {
    return codePoint >= 0xE000 && codePoint <= 0xF8FF;
}

}  // namespace

class CodeTableBuilder final {
public:
    static std::unique_ptr<CodeTable> build(const TableSource& source) {
        auto table = std::make_unique<CodeTable>();
        table->mCodePoints.resize(source.size);
        IcuCodeLookup lookup(source.icuConverter);
        for (std::size_t pointer = 0; pointer < source.size; ++pointer) {
            const char32_t codePoint = lookup.decode(source.bytesAt(pointer)).value_or(0);
            if (!(source.dropPrivateUse && isPrivateUse(codePoint))) {
                table->mCodePoints[pointer] = codePoint;
            }
        }
        for (const PointerOverride& entry : source.overrides) {
            table->mCodePoints[entry.pointer] = entry.codePoint;
        }
        return table;
    }
};

const CodeTable& CodeTable::forSet(CharacterSet set) {
    static std::mutex mutex;
    static std::array<std::unique_ptr<CodeTable>, kTableSources.size()> tables;
    const auto index = static_cast<std::size_t>(set);
    std::lock_guard lock(mutex);
    if (!tables[index]) {
        tables[index] = CodeTableBuilder::build(kTableSources[index]);
    }
    return *tables[index];
}

}  // namespace veltrano::html
