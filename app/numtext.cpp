#include "numtext.h"

#include <QLocale>

namespace lumo {

QString formatNumber(const char* format, double value)
{
    return QString::asprintf(format, value);
}

bool parseNumber(const QString& text, double& value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // The user's locale (QLocale() is the system's unless a default was
    // set), without group separators: "1.234" must not read as 1234 where
    // "." groups thousands, since every value the windows show uses ".".
    QLocale user;
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = user.toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (ok)
        value = v;
    return ok;
}

bool parseSingle(const QString& text, double& value)
{
    double v = 0;
    if (!parseNumber(text, v))
        return false;
    value = static_cast<double>(static_cast<float>(v));
    return true;
}

} // namespace lumo
