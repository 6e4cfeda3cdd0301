#pragma once

#include <QString>

namespace lumo {

// Formats a value with a printf conversion such as "%1.2f". The decimal
// point is always "." (QString::asprintf does not follow the locale).
QString formatNumber(const char* format, double value);

// Reads a number typed into a window: the user's locale first, then the C
// form with ".". Blanks around the number are ignored; anything else, or an
// empty text, is not a number.
bool parseNumber(const QString& text, double& value);

// The same, rounded to single precision as the preferences values are.
bool parseSingle(const QString& text, double& value);

} // namespace lumo
