#pragma once
// Conversions between property values and their stored text, one function pair per property
// kind, plus the string-list, collection and font layouts written through a SettingsStore.
// Reading never fails loudly: each reader returns the documented fallback (0 for integers) or
// std::nullopt meaning "leave the property as it is".

#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class QLocale;
class SettingsStore;

namespace PropertyCodec {

// Integers: signed decimal. Reading accepts surrounding blanks and an optional sign; anything
// else, or a value outside 32 bits, reads as 0 with *ok false.
QString formatInteger(qint64 value);
qint32 parseInteger(const QString& text, bool* ok = nullptr);

// Colours are integers. Negative values are Windows system colours (0x80000000 | index); others
// hold 0x00BBGGRR in their low 24 bits.
constexpr qint32 SysColorWindow = qint32(0x80000005);
constexpr qint32 SysColorWindowText = qint32(0x80000008);
constexpr qint32 SysColorHighlight = qint32(0x8000000D);
constexpr qint32 SysColorHighlightText = qint32(0x8000000E);
constexpr qint32 SysColorBtnFace = qint32(0x8000000F);
constexpr qint32 SysColorBtnText = qint32(0x80000012);
// A system colour is taken from the palette role that plays its part (button face -> Button,
// window -> Base, window text -> Text, highlight -> Highlight, button text -> ButtonText, ...);
// an index without a counterpart gives the palette's Window colour.
QColor colorFromStored(qint32 stored, const QPalette& palette);
// The text colour over the page colour `paper` (both stored). Black, the built-in text colour, on
// a page that follows the desktop follows the desktop too where black would be unreadable (a dark
// palette): it becomes the palette's text colour that stands out most from the page. Any other
// text colour, and black on a page of a chosen colour, is taken as it is.
QColor inkFromStored(qint32 ink, qint32 paper, const QPalette& palette);
// Always a plain 0x00BBGGRR colour (alpha dropped); an invalid colour is stored as black.
qint32 storedFromColor(const QColor& color);

// Characters: the character itself; reading takes the first character, nullopt when empty.
QString formatChar(QChar c);
std::optional<QChar> parseChar(const QString& text);

// Enumerations: the identifier. Reading matches the identifiers without regard to case and
// returns the index; no match gives nullopt. formatEnum of an index out of range is empty.
QString formatEnum(int index, const QStringList& identifiers);
std::optional<int> parseEnum(const QString& text, const QStringList& identifiers);

// Booleans are the enumeration "False", "True".
QString formatBool(bool value);
std::optional<bool> parseBool(const QString& text);

// Sets: "[a,b]" without blanks, "[]" when empty. Reading splits at "[", "]", "," and blanks and
// skips words that name no member; the result lists members in identifier order, canonical
// spelling, each once.
QString formatSet(const QStringList& members);
QStringList parseSet(const QString& text, const QStringList& identifiers);
// The same sets as bit masks: bit i is identifiers[i].
QString formatSetMask(quint32 mask, const QStringList& identifiers);
quint32 parseSetMask(const QString& text, const QStringList& identifiers);

// Strings: trimmed of blanks and control characters (everything up to U+0020) both ways.
QString formatString(const QString& value);
QString parseString(const QString& text);

// Floating point: shortest general format with "." whatever the locale. Reading replaces "."
// by the locale's decimal separator and parses with that locale; text the locale rejects is
// tried once more in the C locale (so "1e+20" and "2.5" always read); nullopt otherwise.
QString formatFloat(double value);
std::optional<double> parseFloat(const QString& text, const QLocale& locale);

// Component references: "Name", "Form.Name" for another form's component, "(null)" for none.
struct StoredReference
{
    bool isNull = true;
    QString form; // empty: the window's own form
    QString component;
};
QString formatReference(const StoredReference& reference);
StoredReference parseReference(const QString& text);

// Fonts: seven values in this order under prefix + sub-property name ("Editor_Font" + "Charset").
// height is in Windows terms: negative means -height pixels of character height; size is points.
struct StoredFont
{
    int charset = 1; // DEFAULT_CHARSET
    qint32 color = SysColorWindowText;
    int height = -11;
    QString name = QStringLiteral("MS Sans Serif");
    QString pitch = QStringLiteral("fpDefault");
    int size = 8;
    QStringList style; // members of FontStyles

    friend bool operator==(const StoredFont&, const StoredFont&) = default;
};
const QStringList& fontPitches();    // "fpDefault", "fpVariable", "fpFixed"
const QStringList& fontStyles();     // "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"
const QStringList& textAlignments(); // "taLeftJustify", "taRightJustify", "taCenter"
const QStringList& controlAligns();  // "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"

// QFont from the stored values: pixel size -height when height < 0, otherwise point size `size`
// when > 0 (a positive Windows height counts the cell, which Qt cannot express); family from
// name when not empty; styles; "fpFixed"/"fpVariable" set fixed pitch on/off. The charset and
// colour have no QFont counterpart and are ignored.
QFont fontFromStored(const StoredFont& stored);
// Stored values from a QFont at the Windows logical 96 pixels per inch: a pixel-sized font gives
// height = -pixels, size = pixels * 72 / 96 rounded; a point-sized one gives size = points
// rounded, height = -(points * 96 / 72) rounded. charset and color are taken from `base`.
StoredFont storedFromFont(const QFont& font, const StoredFont& base = {});

void writeFont(SettingsStore& store, const QString& key, const QString& prefix, const StoredFont& font);
// Each value is read with the current one as default; unparsable integers give 0, an unknown
// pitch leaves the pitch, unknown style words are skipped, the name is trimmed.
StoredFont readFont(const SettingsStore& store, const QString& key, const QString& prefix, const StoredFont& current);

// String lists: the list key is erased, then, only for a non-empty list, "Count" and
// "Item0".."Item<Count-1>" are written exactly as they are (not trimmed).
void writeStringList(SettingsStore& store, const QString& listKey, const QStringList& items);
// The stored list when its trimmed "Count" is above 0 (a missing item reads as empty);
// nullopt, meaning "keep the built-in list", when Count is missing, 0, unparsable or above
// MaxStoredListCount (taken as damage rather than an attempt to read millions of values).
constexpr int MaxStoredListCount = 100000;
std::optional<QStringList> readStringList(const SettingsStore& store, const QString& listKey);

// Collections: item i's property P (already formatted text) goes under "Item<i>_P".
using CollectionItem = QList<std::pair<QString, QString>>; // property name, text
void writeCollection(SettingsStore& store, const QString& listKey, const QList<CollectionItem>& items);
// Updates the texts of the items given, each read with its current text as default; the number
// of items never changes.
void readCollection(const SettingsStore& store, const QString& listKey, QList<CollectionItem>& items);

} // namespace PropertyCodec
