#include "platform/html/css/cascaded_style.h"

namespace veltrano::html::css {
namespace {

// An inherited property: inherit and unset take the parent's value, initial the initial one,
// revert keeps the user agent's (what the element has so far).
template <class T>
void applyInherited(const std::optional<DeclaredValue>& value, T parentValue, T initialValue,
                    T& target) {
    if (!value) {
        return;
    }
    switch (value->wide) {
        case WideKeyword::None:
            target = static_cast<T>(value->keyword);
            break;
        case WideKeyword::Inherit:
        case WideKeyword::Unset:
            target = parentValue;
            break;
        case WideKeyword::Initial:
            target = initialValue;
            break;
        case WideKeyword::Revert:
        case WideKeyword::RevertLayer:
            break;
    }
}

// Float and position: out of flow only when a value says so (no element is by default, and
// an inherited one is taken as not).
bool outOfFlow(const std::optional<DeclaredValue>& value) {
    return value && value->wide == WideKeyword::None && value->keyword != 0;
}

}  // namespace

bool applyCascadedValues(const CascadedValues& values, const InheritedStyle& parent,
                         ElementStyle& style) {
    if (const auto& display = values[Property::Display]) {
        if (display->wide == WideKeyword::None) {
            style.display = static_cast<Display>(display->keyword);
        } else if (display->wide == WideKeyword::Initial || display->wide == WideKeyword::Unset) {
            style.display = Display::Inline;
        }
    }
    bool visible = style.inherited.visible;
    applyInherited<bool>(values[Property::Visibility], parent.visible, true, visible);
    style.inherited.visible = visible;
    WhiteSpace whiteSpace = style.inherited.whiteSpace;
    applyInherited(values[Property::WhiteSpaceCollapse], parent.whiteSpace, WhiteSpace::Collapse,
                   whiteSpace);
    style.inherited.whiteSpace = whiteSpace;
    TextTransform transform = style.inherited.textTransform;
    applyInherited(values[Property::TextTransform], parent.textTransform, TextTransform::None,
                   transform);
    style.inherited.textTransform = transform;
    return outOfFlow(values[Property::Float]) || outOfFlow(values[Property::Position]);
}

}  // namespace veltrano::html::css
