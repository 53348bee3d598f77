#pragma once

#include <QString>

class QWidget;

namespace veltrano {

namespace platform {
class SkinComponent;
}

// With the skin file beside the program, gives the main window and its frames the face
// colour and hands the skin to the skin component; without it, changes nothing.
void ApplySkin(QWidget& mainWindow, platform::SkinComponent& skin, const QString& skinFile);

// The face colour (the platform's button-face colour) for the window and its option
// buttons, check boxes, frames and labels; other controls keep their own colours.
void ApplyFaceColour(QWidget& window);

// Background colours as first defined: white, painted by the widget itself.
void paintWhite(QWidget& widget);

}  // namespace veltrano
