// A graphics device that records what is drawn on it, with the context state
// in force at each call, for a CDrawContext to draw on.

#pragma once

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/platform/iplatformgraphicsdevice.h"
#include "vstgui/lib/platform/iplatformgraphicspath.h"
#include <memory>
#include <vector>

namespace ZYTest {

using namespace VSTGUI;

struct DrawCall
{
	enum Kind
	{
		kFillPath,
		kStrokePath,
		kRect,
		kBitmap
	};
	Kind kind;
	CRect rect;	   ///< the path's rectangle, the rect, or the bitmap's destination
	CPoint offset; ///< bitmap source offset
	CColor fillColor;
	CColor frameColor;
	CCoord lineWidth;
	CDrawMode drawMode;
	PlatformGraphicsDrawStyle rectStyle {PlatformGraphicsDrawStyle::Stroked};
};

class RecordingPath : public IPlatformGraphicsPath
{
public:
	std::vector<CRect> rects;

	void addArc (const CRect&, double, double, bool) override {}
	void addEllipse (const CRect&) override {}
	void addRect (const CRect& rect) override { rects.push_back (rect); }
	void addLine (const CPoint&) override {}
	void addBezierCurve (const CPoint&, const CPoint&, const CPoint&) override {}
	void beginSubpath (const CPoint&) override {}
	void closeSubpath () override {}
	void finishBuilding () override {}
	bool hitTest (const CPoint&, bool, CGraphicsTransform*) const override { return false; }
	CRect getBoundingBox () const override { return rects.empty () ? CRect () : rects.front (); }
	PlatformGraphicsPathFillMode getFillMode () const override
	{
		return PlatformGraphicsPathFillMode::Winding;
	}
};

class RecordingPathFactory : public IPlatformGraphicsPathFactory
{
public:
	PlatformGraphicsPathPtr createPath (PlatformGraphicsPathFillMode) override
	{
		return std::make_unique<RecordingPath> ();
	}
	PlatformGraphicsPathPtr createTextPath (const PlatformFontPtr&, UTF8StringPtr) override
	{
		return nullptr;
	}
};

class RecordingDevice : public IPlatformGraphicsDevice, public IPlatformGraphicsDeviceContext
{
public:
	mutable std::vector<DrawCall> calls;
	// a colour the slider never sets, until it sets one
	mutable CColor fillColor {1, 2, 3, 4};
	mutable CColor frameColor {1, 2, 3, 4};
	mutable CCoord lineWidth {1.};
	mutable CDrawMode drawMode;

	/** a draw context on this device, surface of the given size */
	static std::pair<std::shared_ptr<RecordingDevice>, std::unique_ptr<CDrawContext>>
	makeContext (const CRect& surface)
	{
		auto device = std::make_shared<RecordingDevice> ();
		auto context = std::make_unique<CDrawContext> (device, surface, 1.);
		return {device, std::move (context)};
	}

	PlatformGraphicsDeviceContextPtr createBitmapContext (const PlatformBitmapPtr&) const override
	{
		return nullptr;
	}

	const IPlatformGraphicsDevice& getDevice () const override { return *this; }
	PlatformGraphicsPathFactoryPtr getGraphicsPathFactory () const override { return pathFactory; }
	bool beginDraw () const override { return true; }
	bool endDraw () const override { return true; }
	bool drawLine (LinePair) const override { return true; }
	bool drawLines (const LineList&) const override { return true; }
	bool drawPolygon (const PointList&, PlatformGraphicsDrawStyle) const override { return true; }
	bool drawRect (CRect rect, PlatformGraphicsDrawStyle style) const override
	{
		record (DrawCall::kRect, rect).rectStyle = style;
		return true;
	}
	bool drawArc (CRect, double, double, PlatformGraphicsDrawStyle) const override { return true; }
	bool drawEllipse (CRect, PlatformGraphicsDrawStyle) const override { return true; }
	bool drawPoint (CPoint, CColor) const override { return true; }
	bool drawBitmap (IPlatformBitmap&, CRect dest, CPoint offset, double,
					 BitmapInterpolationQuality) const override
	{
		record (DrawCall::kBitmap, dest).offset = offset;
		return true;
	}
	bool clearRect (CRect) const override { return true; }
	bool drawGraphicsPath (IPlatformGraphicsPath& path, PlatformGraphicsPathDrawMode mode,
						   TransformMatrix*) const override
	{
		auto kind = mode == PlatformGraphicsPathDrawMode::Stroked ? DrawCall::kStrokePath
																  : DrawCall::kFillPath;
		record (kind, path.getBoundingBox ());
		return true;
	}
	bool fillLinearGradient (IPlatformGraphicsPath&, const IPlatformGradient&, CPoint, CPoint, bool,
							 TransformMatrix*) const override
	{
		return true;
	}
	bool fillRadialGradient (IPlatformGraphicsPath&, const IPlatformGradient&, CPoint, CCoord,
							 CPoint, bool, TransformMatrix*) const override
	{
		return true;
	}
	void saveGlobalState () const override {}
	void restoreGlobalState () const override {}
	void setLineStyle (const CLineStyle&) const override {}
	void setLineWidth (CCoord width) const override { lineWidth = width; }
	void setDrawMode (CDrawMode mode) const override { drawMode = mode; }
	void setClipRect (CRect) const override {}
	void setFillColor (CColor color) const override { fillColor = color; }
	void setFrameColor (CColor color) const override { frameColor = color; }
	void setGlobalAlpha (double) const override {}
	void setTransformMatrix (const TransformMatrix&) const override {}
	const IPlatformGraphicsDeviceContextBitmapExt* asBitmapExt () const override { return nullptr; }

private:
	DrawCall& record (DrawCall::Kind kind, const CRect& rect) const
	{
		calls.push_back ({kind, rect, {}, fillColor, frameColor, lineWidth, drawMode});
		return calls.back ();
	}

	PlatformGraphicsPathFactoryPtr pathFactory {std::make_shared<RecordingPathFactory> ()};
};

} // ZYTest
