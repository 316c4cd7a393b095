#pragma once

#include <QImage>
#include <QRect>

// The darkest grey level (0 black, 255 white) drawn inside `area` of `image`: the ink of a
// caption, to tell black text from greyed text.
int darkestInk(const QImage &image, const QRect &area);
