// Draws the editor's bitmaps with cairo, each at content scale 1 and 2
// ("name.png" and "name_2.0x.png", the names VSTGUI pairs by scale factor).
// The committed images in resource/ are this program's output:
//     zy_imagegen <output folder>
// Every figure is in 1x units; the 2x image is the same drawing scaled, so
// both stay sharp. The layout numbers of the background follow plug.uidesc.

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgba
{
	double r, g, b, a;
};

constexpr Rgba hex (unsigned rgb, double alpha = 1.)
{
	return {((rgb >> 16) & 0xff) / 255., ((rgb >> 8) & 0xff) / 255., (rgb & 0xff) / 255., alpha};
}

void setColour (cairo_t* cr, Rgba c)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, c.a);
}

void roundedRect (cairo_t* cr, double x, double y, double w, double h, double r)
{
	cairo_new_sub_path (cr);
	cairo_arc (cr, x + w - r, y + r, r, -M_PI / 2, 0);
	cairo_arc (cr, x + w - r, y + h - r, r, 0, M_PI / 2);
	cairo_arc (cr, x + r, y + h - r, r, M_PI / 2, M_PI);
	cairo_arc (cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
	cairo_close_path (cr);
}

void verticalGradient (cairo_t* cr, double y0, double y1, Rgba top, Rgba bottom)
{
	cairo_pattern_t* p = cairo_pattern_create_linear (0, y0, 0, y1);
	cairo_pattern_add_color_stop_rgba (p, 0, top.r, top.g, top.b, top.a);
	cairo_pattern_add_color_stop_rgba (p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
	cairo_set_source (cr, p);
	cairo_pattern_destroy (p);
}

void hairline (cairo_t* cr, double x0, double y0, double x1, double y1, Rgba c, double width = 1.)
{
	cairo_move_to (cr, x0, y0);
	cairo_line_to (cr, x1, y1);
	cairo_set_line_width (cr, width);
	setColour (cr, c);
	cairo_stroke (cr);
}

// The palette, shared with the colours of plug.uidesc.
const Rgba kAccent = hex (0x35c7d0);
const Rgba kAmber = hex (0xf5a623);
const Rgba kPanelFill = hex (0x1d2025);
const Rgba kPanelEdge = hex (0x30343c);

//------------------------------------------------------------------------
// The whole editor's backdrop: header band, three panels, the logo.
constexpr double kEditorWidth = 720;
constexpr double kEditorHeight = 392;
constexpr double kHeaderHeight = 56;

struct Panel
{
	double x, width;
};
// SWEEP (four strips), RESONANCE (one), OUTPUT (two); strips are 88 wide
const Panel kPanels[] = {{16, 368}, {396, 104}, {512, 192}};
constexpr double kPanelTop = 72;
constexpr double kPanelHeight = 300;

void drawLogo (cairo_t* cr, double x, double y)
{
	// two sines a quarter period apart: the two channels of the sweep
	roundedRect (cr, x, y, 26, 26, 6);
	setColour (cr, hex (0x14161a));
	cairo_fill_preserve (cr);
	setColour (cr, hex (0x3a3f48));
	cairo_set_line_width (cr, 1);
	cairo_stroke (cr);
	for (int channel = 0; channel < 2; ++channel)
	{
		for (int i = 0; i <= 40; ++i)
		{
			const double t = i / 40.;
			const double px = x + 4 + 18 * t;
			const double py = y + 13 - 6 * std::sin (2 * M_PI * t + channel * M_PI / 2);
			if (i == 0)
				cairo_move_to (cr, px, py);
			else
				cairo_line_to (cr, px, py);
		}
		cairo_set_line_width (cr, 1.6);
		cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
		setColour (cr, channel == 0 ? kAccent : hex (0x35c7d0, 0.45));
		cairo_stroke (cr);
	}
}

void drawBackground (cairo_t* cr)
{
	verticalGradient (cr, 0, kEditorHeight, hex (0x24272d), hex (0x16181c));
	cairo_paint (cr);

	cairo_rectangle (cr, 0, 0, kEditorWidth, kHeaderHeight);
	verticalGradient (cr, 0, kHeaderHeight, hex (0x30343b), hex (0x25282e));
	cairo_fill (cr);
	hairline (cr, 0, kHeaderHeight - 0.5, kEditorWidth, kHeaderHeight - 0.5, hex (0x0d0e11));
	hairline (cr, 0, kHeaderHeight + 0.5, kEditorWidth, kHeaderHeight + 0.5, hex (0x3a3f48, 0.5));
	hairline (cr, 0, 0.5, kEditorWidth, 0.5, hex (0x4a505a, 0.6));
	drawLogo (cr, 18, 15);

	for (const auto& panel : kPanels)
	{
		roundedRect (cr, panel.x + 0.5, kPanelTop + 0.5, panel.width - 1, kPanelHeight - 1, 8);
		verticalGradient (cr, kPanelTop, kPanelTop + kPanelHeight, hex (0x20232a), kPanelFill);
		cairo_fill_preserve (cr);
		setColour (cr, kPanelEdge);
		cairo_set_line_width (cr, 1);
		cairo_stroke (cr);
		// the panel's title row, then its strips
		hairline (cr, panel.x + 12, kPanelTop + 26.5, panel.x + panel.width - 12, kPanelTop + 26.5,
		          hex (0x2c3037));
		// a short accent under the start of the title
		hairline (cr, panel.x + 12, kPanelTop + 26.5, panel.x + 36, kPanelTop + 26.5, kAccent);
	}
}

//------------------------------------------------------------------------
// Fader: the track is the slider's background (44 x 200), the cap its handle
// (36 x 24). With the handle offset (4, 2) the cap's centre travels from
// y 14 to y 186, where the ticks are.
constexpr double kTrackWidth = 44;
constexpr double kTrackHeight = 200;
constexpr double kCapWidth = 36;
constexpr double kCapHeight = 24;
constexpr double kTravelTop = 14;
constexpr double kTravelBottom = 186;

void drawTrack (cairo_t* cr)
{
	const double centre = kTrackWidth / 2;
	for (int k = 0; k <= 10; ++k)
	{
		const double y = std::round (kTravelTop + k * (kTravelBottom - kTravelTop) / 10) + 0.5;
		const bool major = k % 5 == 0;
		const double length = major ? 9 : 5;
		const Rgba c = major ? hex (0x737a86) : hex (0x4a505a);
		hairline (cr, centre - 9 - length, y, centre - 9, y, c);
		hairline (cr, centre + 9, y, centre + 9 + length, y, c);
	}
	roundedRect (cr, centre - 3, 8, 6, kTrackHeight - 16, 3);
	setColour (cr, hex (0x0b0c0f));
	cairo_fill_preserve (cr);
	setColour (cr, hex (0x3a3f48, 0.8));
	cairo_set_line_width (cr, 1);
	cairo_stroke (cr);
}

void drawCap (cairo_t* cr)
{
	// a soft shadow below the body, inside the bitmap
	roundedRect (cr, 1, 2, kCapWidth - 2, kCapHeight - 2, 4);
	setColour (cr, hex (0x000000, 0.45));
	cairo_fill (cr);

	roundedRect (cr, 1.5, 0.5, kCapWidth - 3, kCapHeight - 3, 4);
	verticalGradient (cr, 0, kCapHeight - 2, hex (0xe4e7eb), hex (0x8f96a1));
	cairo_fill_preserve (cr);
	setColour (cr, hex (0x5b616b));
	cairo_set_line_width (cr, 1);
	cairo_stroke (cr);

	// grip lines and the value line across the cap's centre
	for (double y : {5.5, 8.5, 14.5, 17.5})
		hairline (cr, 7, y, kCapWidth - 7, y, hex (0x5b616b, 0.55));
	hairline (cr, 4, 11.5, kCapWidth - 4, 11.5, kAccent, 2);
}

//------------------------------------------------------------------------
// The box behind each value and its unit (76 x 22).
void drawValueField (cairo_t* cr)
{
	roundedRect (cr, 0.5, 0.5, 75, 21, 4);
	setColour (cr, hex (0x101216));
	cairo_fill_preserve (cr);
	setColour (cr, hex (0x33373f));
	cairo_set_line_width (cr, 1);
	cairo_stroke (cr);
	hairline (cr, 4, 1.5, 72, 1.5, hex (0x000000, 0.5));
}

//------------------------------------------------------------------------
// Two-state buttons: the off frame above the on frame, as COnOffButton
// expects.
void drawPowerIcon (cairo_t* cr, double cx, double cy, Rgba c)
{
	cairo_set_line_width (cr, 1.8);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	setColour (cr, c);
	cairo_arc (cr, cx, cy + 0.5, 5.5, -M_PI / 2 + 0.75, 3 * M_PI / 2 - 0.75);
	cairo_stroke (cr);
	cairo_move_to (cr, cx, cy - 6);
	cairo_line_to (cr, cx, cy);
	cairo_stroke (cr);
}

void drawBypassFrame (cairo_t* cr, bool on)
{
	roundedRect (cr, 0.5, 0.5, 55, 23, 11.5);
	if (on)
		verticalGradient (cr, 0, 24, hex (0xffc35a), hex (0xe0891a));
	else
		verticalGradient (cr, 0, 24, hex (0x2e3239), hex (0x24272d));
	cairo_fill_preserve (cr);
	setColour (cr, on ? hex (0xffd48a) : hex (0x444a54));
	cairo_set_line_width (cr, 1);
	cairo_stroke (cr);
	drawPowerIcon (cr, 28, 12, on ? hex (0x3b2405) : hex (0x8a919c));
}

void drawBypass (cairo_t* cr)
{
	drawBypassFrame (cr, false);
	cairo_translate (cr, 0, 24);
	drawBypassFrame (cr, true);
}

void drawAboutFrame (cairo_t* cr, bool on)
{
	cairo_arc (cr, 12, 12, 10.5, 0, 2 * M_PI);
	if (on)
	{
		setColour (cr, kAccent);
		cairo_fill (cr);
	}
	else
	{
		setColour (cr, hex (0x5d636e));
		cairo_set_line_width (cr, 1.5);
		cairo_stroke (cr);
	}
	const Rgba glyph = on ? hex (0x10262a) : hex (0x9aa0aa);
	setColour (cr, glyph);
	cairo_arc (cr, 12, 7.3, 1.5, 0, 2 * M_PI);
	cairo_fill (cr);
	roundedRect (cr, 10.8, 10, 2.4, 8, 1.1);
	cairo_fill (cr);
}

void drawAbout (cairo_t* cr)
{
	drawAboutFrame (cr, false);
	cairo_translate (cr, 0, 24);
	drawAboutFrame (cr, true);
}

//------------------------------------------------------------------------
struct Image
{
	const char* name;
	int width;
	int height;
	std::function<void (cairo_t*)> draw;
};

const std::vector<Image>& images ()
{
	static const std::vector<Image> list = {
	    {"background", int (kEditorWidth), int (kEditorHeight), drawBackground},
	    {"fader_track", int (kTrackWidth), int (kTrackHeight), drawTrack},
	    {"fader_cap", int (kCapWidth), int (kCapHeight), drawCap},
	    {"value_field", 76, 22, drawValueField},
	    {"bypass_switch", 56, 48, drawBypass},
	    {"about_button", 24, 48, drawAbout},
	};
	return list;
}

bool writeImage (const Image& image, int scale, const std::string& folder)
{
	cairo_surface_t* surface =
	    cairo_image_surface_create (CAIRO_FORMAT_ARGB32, image.width * scale, image.height * scale);
	cairo_t* cr = cairo_create (surface);
	cairo_scale (cr, scale, scale);
	image.draw (cr);
	cairo_destroy (cr);

	std::string path = folder + "/" + image.name + (scale == 1 ? "" : "_2.0x") + ".png";
	const cairo_status_t status = cairo_surface_write_to_png (surface, path.c_str ());
	cairo_surface_destroy (surface);
	if (status != CAIRO_STATUS_SUCCESS)
	{
		std::fprintf (stderr, "zy_imagegen: cannot write %s: %s\n", path.c_str (),
		              cairo_status_to_string (status));
		return false;
	}
	return true;
}

} // namespace

int main (int argc, char* argv[])
{
	if (argc != 2)
	{
		std::fprintf (stderr, "usage: zy_imagegen <output folder>\n");
		return 2;
	}
	for (const auto& image : images ())
		for (int scale : {1, 2})
			if (!writeImage (image, scale, argv[1]))
				return 1;
	return 0;
}
