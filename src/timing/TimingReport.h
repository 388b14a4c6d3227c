#pragma once

#include "timing/ShaftTiming.h"

#include <QByteArray>
#include <QStringList>

// The timing of a format as text for scripts. Cams without phases are left out.
//   C05 "PRESS" ADVANCE 10 ms SHIFT 36.0
//   C05 ON 010 OFF 070  at speed 334.0 034.0  16.7 ms  SHORT
//   C05 GAP 070 010  83.3 ms
//   MAX RPM 500                      (MAX RPM none without a minimum time or phases)
QStringList TimingLines(const ShaftTiming::FormatTiming& timing);

// The same as one JSON object on one line (UTF-8):
// {"rpm":600,"format":1,"min_ms":20,"max_rpm":500,"cams":[{"cam":5,"name":"PRESS",
//  "advance_ms":10,"shift_deg":36.0,"phases":[{"on":10,"off":70,"on_at_speed":334.0,
//  "off_at_speed":34.0,"ms":16.7,"short":true}],"gaps":[{"from":70,"to":10,"ms":83.3,
//  "short":false}]}]}
QByteArray TimingJson(const ShaftTiming::FormatTiming& timing);
