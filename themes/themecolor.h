#pragma once

#include <QColor>

class ThemeRecordReader;

// Reads a QColor as the toolkit's stream writes it (a spec byte, then alpha,
// red, green, blue and padding as 16-bit values), refusing an unknown spec
// byte instead of handing an out-of-range value to QColor.
bool readThemeColor(ThemeRecordReader& in, QColor& colour);
