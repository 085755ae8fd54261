#include "tests/editor/pixels.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>

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

bool hasColourNear (const zyhost::Capture& capture, Rect region, uint32_t rgb, int tolerance)
{
	for (int y = region.top; y < region.top + region.height; ++y)
		for (int x = region.left; x < region.left + region.width; ++x)
			if (distance (capture.at (x, y), rgb) <= tolerance)
				return true;
	return false;
}

} // namespace zytest
