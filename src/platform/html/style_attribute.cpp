#include "platform/html/style_attribute.h"

#include "platform/html/css/cascade.h"
#include "platform/html/css/cascaded_style.h"

namespace veltrano::html {

bool applyStyleAttribute(std::string_view declarations, const InheritedStyle& parent,
                         ElementStyle& style) {
    return css::applyCascadedValues(css::cascadeStyleAttribute(declarations), parent, style);
}

}  // namespace veltrano::html
