#include "io/display_text.h"

#include <algorithm>

namespace io {
namespace {

// Characters that reorder the text around them.
bool isDirectionControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// Line and paragraph separators break a line as a newline does.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Characters shown, "…" included; names are cut as the table's messages cut
// them.
qsizetype longest(DisplayUse use)
{
    switch (use) {
    case DisplayUse::name:
        return 80;
    case DisplayUse::windowTitle:
        return 200;
    case DisplayUse::message:
        break;
    }
    return 2000;
}

QString hex(char32_t c, int digits)
{
    return QString::number(uint(c), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QString displayText(QStringView text, DisplayUse use)
{
    const qsizetype room = longest(use);
    // Values and messages are mostly plain: those are kept as they are, at
    // the cost of one look at each character.
    const bool plain =
        text.size() <= room && std::none_of(text.begin(), text.end(), [use](QChar c) {
            return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F) ||
                   (c.unicode() >= 0x2000 && c.unicode() <= 0x206F) || c.unicode() == 0x061C ||
                   (use == DisplayUse::windowTitle && c == QLatin1Char('['));
        });
    if (plain)
        return text.toString();
    QString out;
    out.reserve(std::min(text.size(), room) + 8);
    const QLatin1String placeholder("[*]");
    for (qsizetype i = 0; i < text.size();) {
        char32_t c = text[i].unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        QString piece;
        if (c == 0) {
            // dropped
        } else if (isDirectionControl(c) || (c > 0xFF && isControl(c))) {
            piece = QStringLiteral("<U+") + hex(c, 4) + QLatin1Char('>');
        } else if (isControl(c)) {
            piece = QStringLiteral("\\x") + hex(c, 2);
        } else if (use == DisplayUse::windowTitle && text.sliced(i).startsWith(placeholder)) {
            piece = QStringLiteral("[*][*]"); // Qt shows this as "[*]"
            length = placeholder.size();
        } else {
            piece = text.sliced(i, length).toString();
        }
        // The rest would not fit beside "…": cut here.
        const bool last = i + length >= text.size();
        if (out.size() + piece.size() > room - (last ? 0 : 1)) {
            out += QChar(0x2026);
            return out;
        }
        out += piece;
        i += length;
    }
    return out;
}

QString displayText(std::string_view utf8, DisplayUse use)
{
    return displayText(QStringView(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))), use);
}

} // namespace io
