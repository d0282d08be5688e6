#include "ui/sheet/sheet_details.h"

#include <QSettings>

namespace ui {

SheetDetails readSheetDetails(const QSettings& settings)
{
    SheetDetails details;
    for (const SheetDetailField& field : sheetDetailFields)
        details.*field.member = settings.value(QLatin1String(field.key)).toString();
    return details;
}

void writeSheetDetail(QSettings& settings, const SheetDetailField& field, const QString& value)
{
    if (value.isEmpty())
        settings.remove(QLatin1String(field.key));
    else
        settings.setValue(QLatin1String(field.key), value);
}

} // namespace ui
