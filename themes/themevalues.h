#pragma once

#include <QColor>
#include <QFont>

class ThemeRecordReader;

// Toolkit values of the panels' records, read with the same care as the rest
// of an untrusted theme file: the bytes are walked and checked first, and only
// a span known to be well-formed is handed to the toolkit's stream operator.

// A QColor: a spec byte, then alpha, red, green, blue and padding as 16-bit
// values. An unknown spec byte is refused.
bool readThemeColor(ThemeRecordReader& in, QColor& colour);

// A QFont: family, style name, point and pixel size, hints, weight, flags,
// stretch, spacing, capitalisation and the family list. A point size above
// kMaxFontPointSize, a pixel size above kMaxFontPixelSize or a family list
// longer than the record are refused.
constexpr double kMaxFontPointSize = 2048;
constexpr int kMaxFontPixelSize = 4096;
bool readThemeFont(ThemeRecordReader& in, QFont& font);
