#pragma once

class QGroupBox;
class QLineEdit;

namespace veltrano {

// Lets a local file dragged onto a path box, or onto the frame around it, fill that box with
// the file's path (file managers offer files as file:// URLs). Other drops onto the box, such
// as text, keep the box's usual behaviour.
void acceptFileDrops(QLineEdit& box, QGroupBox& frame);

}  // namespace veltrano
