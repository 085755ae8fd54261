#include "tests/editor/pixels.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace zytest {

namespace {

int channel (uint32_t pixel, int shift)
{
	return static_cast<int> ((pixel >> shift) & 0xff);
}

int distance (uint32_t a, uint32_t b)
{
	return std::max ({std::abs (channel (a, 16) - channel (b, 16)),
	                  std::abs (channel (a, 8) - channel (b, 8)),
	                  std::abs (channel (a, 0) - channel (b, 0))});
}

double channelDifference (uint32_t a, uint32_t b)
{
	return (std::abs (channel (a, 16) - channel (b, 16)) +
	        std::abs (channel (a, 8) - channel (b, 8)) +
	        std::abs (channel (a, 0) - channel (b, 0))) /
	       3.;
}

struct InkMask
{
	int width {0}, height {0};
	std::vector<bool> ink;
};

// The pixels that stand out from the background by more than half the
// strongest contrast in the region: the text's body, not its soft edges.
InkMask inkOverBackground (const zyhost::Capture& capture, Rect region,
                           const zyhost::Capture& background, int imageX, int imageY)
{
	std::vector<int> contrast (static_cast<size_t> (region.width) * region.height);
	int strongest = 0;
	for (int y = 0; y < region.height; ++y)
	{
		for (int x = 0; x < region.width; ++x)
		{
			const int d = distance (capture.at (region.left + x, region.top + y),
			                        background.at (imageX + x, imageY + y));
			contrast[static_cast<size_t> (y) * region.width + x] = d;
			strongest = std::max (strongest, d);
		}
	}
	InkMask mask {region.width, region.height, std::vector<bool> (contrast.size (), false)};
	if (strongest <= 24)
		return mask;
	for (size_t i = 0; i < contrast.size (); ++i)
		mask.ink[i] = 2 * contrast[i] > strongest;
	return mask;
}

double overlap (const InkMask& a, const InkMask& b)
{
	int both = 0, either = 0;
	for (size_t i = 0; i < a.ink.size (); ++i)
	{
		both += a.ink[i] && b.ink[i];
		either += a.ink[i] || b.ink[i];
	}
	return either ? double (both) / either : 0.;
}

} // namespace

bool loadPng (const std::string& path, zyhost::Capture& out, std::string& error)
{
	cairo_surface_t* surface = cairo_image_surface_create_from_png (path.c_str ());
	if (cairo_surface_status (surface) != CAIRO_STATUS_SUCCESS)
	{
		error = "cannot read " + path;
		cairo_surface_destroy (surface);
		return false;
	}
	out.width = cairo_image_surface_get_width (surface);
	out.height = cairo_image_surface_get_height (surface);
	out.pixels.resize (static_cast<size_t> (out.width) * out.height);
	const unsigned char* data = cairo_image_surface_get_data (surface);
	const int stride = cairo_image_surface_get_stride (surface);
	for (int y = 0; y < out.height; ++y)
		for (int x = 0; x < out.width; ++x)
			out.pixels[static_cast<size_t> (y) * out.width + x] =
			    reinterpret_cast<const uint32_t*> (data + static_cast<size_t> (y) * stride)[x];
	cairo_surface_destroy (surface);
	return true;
}

double meanDifference (const zyhost::Capture& capture, Rect region, const zyhost::Capture& image,
                       int imageX, int imageY)
{
	double sum = 0.;
	int count = 0;
	for (int y = 0; y < region.height; ++y)
	{
		for (int x = 0; x < region.width; ++x)
		{
			const uint32_t expected = image.at (imageX + x, imageY + y);
			if ((expected >> 24) != 0xff)
				continue;
			sum += channelDifference (capture.at (region.left + x, region.top + y), expected);
			++count;
		}
	}
	return count ? sum / count : 255.;
}

double meanDifferenceDoubled (const zyhost::Capture& capture, Rect region,
                              const zyhost::Capture& image, int imageX, int imageY)
{
	double sum = 0.;
	for (int y = 0; y < region.height; ++y)
		for (int x = 0; x < region.width; ++x)
			sum += channelDifference (capture.at (region.left + x, region.top + y),
			                          image.at (imageX + x / 2, imageY + y / 2));
	return sum / (region.width * region.height);
}

Rect inkBounds (const zyhost::Capture& capture, Rect region)
{
	int first = -1, last = -1;
	for (int y = region.top; y < region.top + region.height; ++y)
	{
		const uint32_t background = capture.at (region.left, y);
		for (int x = region.left; x < region.left + region.width; ++x)
		{
			if (distance (capture.at (x, y), background) > 24)
			{
				first = first < 0 ? x : std::min (first, x);
				last = std::max (last, x);
			}
		}
	}
	if (first < 0)
		return {region.left, region.top, 0, region.height};
	return {first, region.top, last - first + 1, region.height};
}

int textInkWidth (const std::string& text, const char* family, double pixelSize, bool bold)
{
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 1, 1);
	cairo_t* cr = cairo_create (surface);
	PangoLayout* layout = pango_cairo_create_layout (cr);
	PangoFontDescription* font = pango_font_description_new ();
	pango_font_description_set_family (font, family);
	pango_font_description_set_absolute_size (font, pango_units_from_double (pixelSize));
	if (bold)
		pango_font_description_set_weight (font, PANGO_WEIGHT_BOLD);
	pango_layout_set_font_description (layout, font);
	pango_layout_set_text (layout, text.c_str (), -1);
	PangoRectangle ink {}, logical {};
	pango_layout_get_pixel_extents (layout, &ink, &logical);
	pango_font_description_free (font);
	g_object_unref (layout);
	cairo_destroy (cr);
	cairo_surface_destroy (surface);
	return ink.width;
}

double textInkMatch (const zyhost::Capture& capture, Rect region, const zyhost::Capture& background,
                     int imageX, int imageY, const std::string& text, const char* family,
                     double pixelSize)
{
	const InkMask found = inkOverBackground (capture, region, background, imageX, imageY);
	int left = found.width, top = found.height;
	for (int y = 0; y < found.height; ++y)
	{
		for (int x = 0; x < found.width; ++x)
		{
			if (found.ink[static_cast<size_t> (y) * found.width + x])
			{
				left = std::min (left, x);
				top = std::min (top, y);
			}
		}
	}
	if (left == found.width)
		return 0.;

	cairo_surface_t* surface =
	    cairo_image_surface_create (CAIRO_FORMAT_A8, found.width, found.height);
	cairo_t* cr = cairo_create (surface);
	PangoLayout* layout = pango_cairo_create_layout (cr);
	PangoFontDescription* font = pango_font_description_new ();
	pango_font_description_set_family (font, family);
	pango_font_description_set_absolute_size (font, pango_units_from_double (pixelSize));
	pango_layout_set_font_description (layout, font);
	pango_layout_set_text (layout, text.c_str (), -1);
	PangoRectangle ink {}, logical {};
	pango_layout_get_extents (layout, &ink, &logical);
	const double inkLeft = pango_units_to_double (ink.x);
	const double inkTop = pango_units_to_double (ink.y);

	// the same shape at every quarter pixel around the ink's corner
	double best = 0.;
	InkMask drawn {found.width, found.height, std::vector<bool> (found.ink.size (), false)};
	for (int qy = -6; qy <= 6; ++qy)
	{
		for (int qx = -6; qx <= 6; ++qx)
		{
			cairo_set_operator (cr, CAIRO_OPERATOR_CLEAR);
			cairo_paint (cr);
			cairo_set_operator (cr, CAIRO_OPERATOR_OVER);
			cairo_move_to (cr, left - inkLeft + qx / 4., top - inkTop + qy / 4.);
			pango_cairo_show_layout (cr, layout);
			cairo_surface_flush (surface);
			const unsigned char* data = cairo_image_surface_get_data (surface);
			const int stride = cairo_image_surface_get_stride (surface);
			for (int y = 0; y < found.height; ++y)
				for (int x = 0; x < found.width; ++x)
					drawn.ink[static_cast<size_t> (y) * found.width + x] =
					    data[static_cast<size_t> (y) * stride + x] > 127;
			best = std::max (best, overlap (found, drawn));
		}
	}
	pango_font_description_free (font);
	g_object_unref (layout);
	cairo_destroy (cr);
	cairo_surface_destroy (surface);
	return best;
}

bool hasColourNear (const zyhost::Capture& capture, Rect region, uint32_t rgb, int tolerance)
{
	for (int y = region.top; y < region.top + region.height; ++y)
		for (int x = region.left; x < region.left + region.width; ++x)
			if (distance (capture.at (x, y), rgb) <= tolerance)
				return true;
	return false;
}

} // namespace zytest
