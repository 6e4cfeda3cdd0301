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

static qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString fileNamePart(const QString& path)
{
    return path.mid(lastSeparator(path) + 1);
}

static qsizetype extensionStart(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > lastSeparator(path) ? dot : -1;
}

QString baseNamePart(const QString& path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.left(dot) : name;
}

QString replaceExtension(const QString& path, const QString& ext)
{
    const qsizetype dot = extensionStart(path);
    return (dot >= 0 ? path.left(dot) : path) + ext;
}

} // namespace lumo
