#include "document/settings_text.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QDataStream>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringList>

#include "io/regular_file.h"

namespace document {
namespace {

// ---- Reading, as Qt's INI reader does, quirks and all.

bool isLineSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isLineSpecial(char c)
{
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

struct Line
{
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1; // the first '=' outside quotes
};

// The next line from `pos`: it ends at a line break or a ';' outside quotes,
// and '\' takes the character after it (a line break too) into the line. A
// ';' at its start makes it a comment, skipped.
bool nextLine(QByteArrayView data, qsizetype& pos, Line& line)
{
    const qsizetype size = data.size();
    bool inQuotes = false;
    line.equals = -1;
    qsizetype start = pos;
    while (start < size && isLineSpace(data[start]))
        ++start;
    qsizetype i = start;
    while (i < size) {
        const char ch = data[i++];
        if (!isLineSpecial(ch))
            continue;
        if (ch == '=') {
            if (!inQuotes && line.equals < 0)
                line.equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size &&
                    ((escaped == '\n' && data[i] == '\r') || (escaped == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (i == start + 1) { // ';' opens a comment line
            while (i < size && data[i] != '\n' && data[i] != '\r')
                ++i;
            while (i < size && isLineSpace(data[i]))
                ++i;
            start = i;
        } else if (!inQuotes) {
            --i;
            break;
        }
    }
    pos = i;
    line.start = start;
    line.length = i - start;
    return line.length > 0;
}

// A key is UTF-8, in which "\\" is "/", and "%" with two hex digits, or
// "%U" with four, a character.
void appendUnescapedKey(QByteArrayView bytes, QString& out)
{
    const QString key = QString::fromUtf8(bytes);
    qsizetype i = 0;
    while (i < key.size()) {
        const QChar ch = key[i];
        if (ch == u'\\') {
            out += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != u'%' || i == key.size() - 1) {
            out += ch;
            ++i;
            continue;
        }
        const qsizetype first = key[i + 1] == u'U' ? i + 2 : i + 1;
        const qsizetype digits = key[i + 1] == u'U' ? 4 : 2;
        bool ok = false;
        const ushort code = first + digits > key.size()
                                ? 0
                                : QStringView(key).sliced(first, digits).toUShort(&ok, 16);
        if (!ok) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        out += QChar(code);
        i = first + digits;
    }
}

void chopTrailingBlanks(QString& text, qsizetype limit)
{
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
}

int octalDigit(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A value: quotes, escapes and, outside quotes, commas between the items of
// a list. True when it is a list (in `items`), else the text is in `text`.
bool unescapeValue(QByteArrayView value, QString& text, QStringList& items)
{
    static const std::map<char, char> escapes = {
        {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'}, {'t', '\t'},
        {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    // One decoder for the whole value: a character cut by an escape is joined.
    QStringDecoder utf8(QStringDecoder::Utf8);
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < value.size() && (value[i] == ' ' || value[i] == '\t'))
            ++i;
    };
    // After \x or \0..7: the code's further digits, at most 16 bits of them.
    const auto numericEscape = [&](char16_t code, int base) {
        for (int digit; i < value.size() &&
                        (digit = base == 16 ? hexDigit(value[i]) : octalDigit(value[i])) >= 0;
             ++i)
            code = char16_t(code * base + digit);
        text += QChar(code);
    };
    skipBlanks();
    qsizetype chopLimit = text.size();
    bool cut = false; // a value ending in a lone \ or \x keeps its trailing blanks
    while (i < value.size()) {
        const char ch = value[i];
        if (ch == '\\') {
            if ((cut = ++i >= value.size()))
                break;
            const char escaped = value[i++];
            if (const auto escape = escapes.find(escaped); escape != escapes.end()) {
                text += QLatin1Char(escape->second);
            } else if (escaped == 'x') {
                if ((cut = i >= value.size()))
                    break;
                if (hexDigit(value[i]) >= 0)
                    numericEscape(0, 16);
            } else if (octalDigit(escaped) >= 0) {
                numericEscape(char16_t(octalDigit(escaped)), 8);
            } else if ((escaped == '\n' || escaped == '\r') && i < value.size() &&
                       (value[i] == '\n' || value[i] == '\r') && value[i] != escaped) {
                ++i; // an escaped line break of two characters
            }
            chopLimit = text.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = text.size();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(text, chopLimit);
            isList = true;
            items.append(text);
            text.clear();
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype end = i + 1;
            while (end < value.size() && value[end] != '\\' && value[end] != '"' &&
                   value[end] != ',')
                ++end;
            text += utf8(value.sliced(i, end - i));
            i = end;
        }
    }
    if (!cut && !quoted)
        chopTrailingBlanks(text, chopLimit);
    if (isList)
        items.append(text);
    return isList;
}

QVariant textToVariant(const QString& text)
{
    if (text.startsWith(u'@') && text.endsWith(u')')) {
        if (text.startsWith(QLatin1String("@ByteArray(")))
            return QVariant(QStringView(text).sliced(11).chopped(1).toLatin1());
        if (text.startsWith(QLatin1String("@String(")))
            return QVariant(text.sliced(8).chopped(1));
        const bool variant = text.startsWith(QLatin1String("@Variant("));
        if (variant || text.startsWith(QLatin1String("@DateTime("))) {
            QByteArray bytes = QStringView(text).sliced(variant ? 9 : 10).toLatin1();
            QDataStream stream(&bytes, QIODevice::ReadOnly);
            stream.setVersion(variant ? QDataStream::Qt_4_0 : QDataStream::Qt_5_6);
            QVariant result;
            stream >> result;
            return result;
        }
        if (text == QLatin1String("@Invalid()"))
            return QVariant();
    }
    if (text.startsWith(QLatin1String("@@")))
        return QVariant(text.sliced(1));
    return QVariant(text);
}

// Strings, unless an item is of another type ("@" but not "@@").
QVariant listToVariant(const QStringList& items)
{
    QStringList strings = items;
    for (QString& item : strings) {
        if (!item.startsWith(u'@'))
            continue;
        if (item.size() < 2 || item[1] != u'@') {
            QVariantList variants;
            for (const QString& each : items)
                variants.append(textToVariant(each));
            return variants;
        }
        item.remove(0, 1);
    }
    return strings;
}

// The line number of `pos`, for messages.
int lineNumber(QByteArrayView data, qsizetype pos)
{
    int number = 1;
    for (qsizetype i = 0; i < pos; ++i)
        number += data[i] == '\n' || (data[i] == '\r' && (i + 1 == pos || data[i + 1] != '\n'));
    return number;
}

[[noreturn]] void refuseLine(QByteArrayView data, qsizetype pos, const char* what)
{
    throw io::FileRefused("its line " + std::to_string(lineNumber(data, pos)) + " " + what);
}

// ---- Writing, as Qt's INI writer does.

bool isHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void appendKey(const QString& key, QByteArray& out)
{
    for (const QChar c : key) {
        const char16_t ch = c.unicode();
        if (ch == '/')
            out += '\\';
        else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                 ch == '_' || ch == '-' || ch == '.')
            out += char(ch);
        else if (ch <= 0xFF)
            out += '%' + QByteArray::number(ch, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(ch, 16).toUpper().rightJustified(4, '0');
    }
}

// `bytesOnly`: the text of @ByteArray or @Variant, one byte a character.
void appendText(const QString& text, QByteArray& out, bool bytesOnly)
{
    const qsizetype start = out.size();
    bool quoted = false;
    bool escapeHexDigit = false; // after a "\x" escape, which a hex digit would extend
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            quoted = true;
        if (escapeHexDigit && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeHexDigit = false;
        static const std::map<char16_t, const char*> escapes = {
            {'\a', "\\a"}, {'\b', "\\b"}, {'\f', "\\f"}, {'\n', "\\n"}, {'\r', "\\r"},
            {'\t', "\\t"}, {'\v', "\\v"}, {'"', "\\\""}, {'\\', "\\\\"}};
        if (const auto escape = escapes.find(ch); escape != escapes.end()) {
            out += escape->second;
        } else if (ch == 0) {
            out += "\\0";
            escapeHexDigit = true;
        } else if (ch <= 0x1F || (bytesOnly && ch >= 0x7F) || ch == 0xFEFF) {
            // U+FEFF too: unescaped, Qt's reader would take it for a byte order mark.
            out += "\\x" + QByteArray::number(ch, 16);
            escapeHexDigit = true;
        } else if (bytesOnly) {
            out += char(ch);
        } else {
            const bool pair =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            out += text.mid(i, pair ? 2 : 1).toUtf8();
            i += pair ? 1 : 0;
        }
    }
    if (quoted || (out.size() > start && (out.at(start) == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void appendValue(const QVariant& value, QByteArray& out)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        out += "@Invalid()";
        return;
    case QMetaType::QString: {
        const QString text = value.toString();
        appendText(text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text, out, false);
        return;
    }
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        appendText(value.toString(), out, false);
        return;
    case QMetaType::QByteArray:
        appendText(QStringLiteral("@ByteArray(") + QString::fromLatin1(value.toByteArray()) +
                       QLatin1Char(')'),
                   out, true);
        return;
    default:
        break;
    }
    QByteArray bytes;
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_0);
        stream << value;
    }
    appendText(QStringLiteral("@Variant(") + QString::fromLatin1(bytes) + QLatin1Char(')'), out,
               true);
}

} // namespace

SettingsMap readSettingsText(QByteArrayView text)
{
    const QByteArrayView data = text.startsWith("\xef\xbb\xbf") ? text.sliced(3) : text;
    // Qt reads the sections in the order of their names, each line of one
    // replacing what an earlier line gave the same key.
    std::map<QString, std::vector<std::pair<QString, QVariant>>> sections;
    QString section;
    qsizetype pos = 0;
    Line line;
    while (nextLine(data, pos, line)) {
        const QByteArrayView content = data.sliced(line.start, line.length);
        if (content.startsWith('[')) {
            const qsizetype close = content.indexOf(']');
            if (close < 0)
                refuseLine(data, line.start, "opens a section with \"[\" but has no \"]\"");
            const QByteArray name = content.sliced(1, close - 1).toByteArray().trimmed();
            section.clear();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                continue;
            if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.sliced(1));
            else
                appendUnescapedKey(name, section);
            section += QLatin1Char('/');
            continue;
        }
        if (line.equals < 0) {
            if (!content.startsWith(';'))
                refuseLine(data, line.start, "is neither a [section] nor a key=value");
            continue;
        }
        QString key = section;
        appendUnescapedKey(data.sliced(line.start, line.equals - line.start).trimmed(), key);
        QString value;
        QStringList items;
        const bool list = unescapeValue(
            data.sliced(line.equals + 1, line.start + line.length - line.equals - 1), value, items);
        sections[section].emplace_back(std::move(key),
                                       list ? listToVariant(items) : textToVariant(value));
    }
    SettingsMap settings;
    for (auto& [name, keys] : sections) {
        for (auto& [key, value] : keys)
            settings.insert(key, value);
    }
    return settings;
}

QByteArray settingsText(const SettingsMap& settings)
{
    std::map<QString, std::vector<std::pair<QString, QVariant>>> sections;
    for (auto entry = settings.begin(); entry != settings.end(); ++entry) {
        const qsizetype slash = entry.key().indexOf(QLatin1Char('/'));
        sections[slash < 0 ? QString() : entry.key().left(slash)].emplace_back(
            slash < 0 ? entry.key() : entry.key().mid(slash + 1), entry.value());
    }
    QByteArray text;
    for (const auto& [section, keys] : sections) {
        if (!text.isEmpty())
            text += '\n';
        if (section.isEmpty()) {
            text += "[General]";
        } else if (section.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
            text += "[%General]";
        } else {
            text += '[';
            appendKey(section, text);
            text += ']';
        }
        text += '\n';
        for (const auto& [key, value] : keys) {
            appendKey(key, text);
            text += '=';
            const bool list =
                value.metaType().id() == QMetaType::QStringList ||
                (value.metaType().id() == QMetaType::QVariantList && value.toList().size() != 1);
            if (list && value.toList().isEmpty()) {
                text += "@Invalid()";
            } else if (list) {
                const QVariantList items = value.toList();
                for (qsizetype i = 0; i < items.size(); ++i) {
                    if (i > 0)
                        text += ", ";
                    appendValue(items[i].metaType().id() == QMetaType::QString
                                    ? items[i]
                                    : QVariant(items[i].toString()),
                                text);
                }
            } else {
                appendValue(value, text);
            }
            text += '\n';
        }
    }
    return text;
}

} // namespace document
