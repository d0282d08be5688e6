#include "document/sheet_details.h"

#include "document/settings_file.h"

namespace document {
namespace {

bool breaksLine(QChar c)
{
    return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\v') ||
           c == QLatin1Char('\f') || c == QLatin1Char('\r') || c == QChar(0x85) ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

bool isSheetDetailControl(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

QString cleanSheetDetail(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            continue;
        if (breaksLine(c))
            clean += QLatin1Char(' ');
        else if (!isSheetDetailControl(c))
            clean += c;
    }
    return clean;
}

SheetDetails defaultPart(SheetDetails details)
{
    for (const SheetDetailField& field : sheetDetailFields) {
        if (field.designOnly)
            (details.*field.member).clear();
    }
    return details;
}

SheetDetails readDefaultSheetDetails(const SettingsFile& settings)
{
    SheetDetails details;
    for (const SheetDetailField& field : sheetDetailFields) {
        if (!field.designOnly)
            details.*field.member =
                cleanSheetDetail(settings.value(QLatin1String(field.key)).toString());
    }
    return details;
}

void writeDefaultSheetDetails(SettingsFile& settings, const SheetDetails& details)
{
    for (const SheetDetailField& field : sheetDetailFields) {
        const QString& value = details.*field.member;
        if (field.designOnly || value.isEmpty())
            settings.remove(QLatin1String(field.key));
        else
            settings.setValue(QLatin1String(field.key), value);
    }
}

} // namespace document
