#pragma once
// The About window's pictures, drawn in code so that no binary files are needed.

#include <QIcon>
#include <QPixmap>

namespace tintara::about {

// 40 x 32, sixteen colours: a globe, for the web site buttons.
QPixmap webPicture();

// 40 x 32, sixteen colours: an envelope, for the contact button.
QPixmap contactPicture();

// 134 x 137, 256 colours: a lit material sphere over its four colour swatches.
QPixmap showcasePicture();

// 32 x 32: the program's icon, a "T" over four colour quadrants.
QIcon programIcon();

} // namespace tintara::about
