#pragma once

#include "editor/DiagramGeometry.h"

#include <QColor>

#include <cstdint>

class QPainter;

// The frame margin inside a bar, in pixels, that every painted strip keeps clear.
constexpr int CamBarMargin = 1;

// The diagram's colours of a cam: yellow behind the current cam, white behind the others;
// its ON degrees (and its name) blue on the current cam, black on the others.
QColor CamBarBackground(bool current);
QColor CamBarInk(bool current);

// The scale captions "0", "90", ... "360" centred over the bars' quarter points, in a band
// height pixels high above the bars.
void PaintScaleCaptions(QPainter& painter, int barLeft, double degreeScale, int height);

// Paints one cam bar as the diagram does: the background inside the frame and the ON runs.
// degrees null paints the blank strip of a row without a cam.
void PaintCamBar(QPainter& painter, const DiagramGeometry::BarBox& bar, double degreeScale,
                 const uint8_t* degrees, bool current);
