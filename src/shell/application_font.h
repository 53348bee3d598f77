#pragma once

#include <QFont>

namespace veltrano {

// The default font of message boxes and file dialogs (the windows set their own): the
// platform's, unless that turns out to be a fixed-pitch font, as the generic sans-serif font
// does on a machine with no other fonts than fonts-liberation's. Then Arial (whose metrics
// fonts-liberation's Liberation Sans has) of the same size takes its place.
QFont proportionalFont(const QFont& platformDefault);

// Makes proportionalFont of the platform's default the application's default font.
void useProportionalDefaultFont();

}  // namespace veltrano
