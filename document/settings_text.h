#pragma once

// The text of the settings file: the INI QSettings has always written there,
// read and written here as Qt does, so that a file an earlier version wrote
// reads as it did, and a file read and written again is unchanged. Reading
// takes the bytes alone: no scratch file, no second QSettings.

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QVariant>

namespace document {

using SettingsMap = QMap<QString, QVariant>;

// The keys and values of `text`, as Qt reads them. Throws io::FileRefused
// naming the line where Qt would report a format error.
SettingsMap readSettingsText(QByteArrayView text);

QByteArray settingsText(const SettingsMap& settings);

} // namespace document
