// Comparisons of captured editor pixels with the bundle's own bitmaps and
// with text as pango lays it out.
#pragma once

#include "tools/hostkit/editorwindow.h"

#include <string>

namespace zytest {

struct Rect
{
	int left, top, width, height;
};

// An image file's pixels, 0xAARRGGBB with the colour premultiplied by alpha.
bool loadPng (const std::string& path, zyhost::Capture& out, std::string& error);

// Mean absolute difference per colour channel between a region of the
// capture and a same-sized region of the image (at imageX, imageY), over the
// image's opaque pixels.
double meanDifference (const zyhost::Capture& capture, Rect region, const zyhost::Capture& image,
                       int imageX, int imageY);

// The same, with the image enlarged by pixel doubling.
double meanDifferenceDoubled (const zyhost::Capture& capture, Rect region,
                              const zyhost::Capture& image, int imageX, int imageY);

// The columns of the region where something is drawn over a background that
// only changes from row to row (its colour taken at the region's left edge);
// width 0 when the region holds no ink.
Rect inkBounds (const zyhost::Capture& capture, Rect region);

// Width in pixels of the ink of a text line in the font, as pango draws it.
int textInkWidth (const std::string& text, const char* family, double pixelSize, bool bold);

// How closely what is drawn in the region over a known background (the
// image at imageX, imageY) matches the text as pango lays it out in the font:
// the overlap of the two shapes of ink (intersection over union, 0 to 1), the
// text placed where it matches best near the ink found in the region; 0 when
// the region holds no ink.
double textInkMatch (const zyhost::Capture& capture, Rect region, const zyhost::Capture& background,
                     int imageX, int imageY, const std::string& text, const char* family,
                     double pixelSize);

bool hasColourNear (const zyhost::Capture& capture, Rect region, uint32_t rgb, int tolerance);

} // namespace zytest
