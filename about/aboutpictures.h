#pragma once
// The About window's pictures, drawn in code so that no binary files are needed.

#include <QIcon>
#include <QPixmap>

namespace tintara::about {

// The pictures are opaque; `background` fills what they leave around their subject,
// so that they blend into the window.

// 40 x 32, sixteen colours and the background: a globe, for the web site buttons.
QPixmap WebPicture(const QColor& background);

// 40 x 32, sixteen colours and the background: an envelope, for the contact button.
QPixmap contactPicture(const QColor& background);

// 134 x 137, 256 colours: a lit material sphere over its four colour swatches.
QPixmap ShowcasePicture(const QColor& background);

// 32 x 32: the program's icon, a "T" over four colour quadrants.
QIcon programIcon();

} // namespace tintara::about
