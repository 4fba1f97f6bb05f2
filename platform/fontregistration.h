#pragma once
// Fonts of the program's texts. The pronunciation font file tonefont.ttf
// (a Japanese face) is made available at start; Japanese texts (the word,
// its reading, the example sentences) are drawn with Japanese glyph forms
// and the Chinese texts with a Chinese face, whatever face the settings
// name first: Han characters such as 直, 骨 or 写 are drawn differently in
// the two languages, and a learner must see the Japanese forms.

#include <QFont>
#include <QString>
#include <QStringList>
#include <filesystem>

// Registers the font file; returns the families it holds (none when the
// file is missing or unusable, which is not reported: the windows then get
// the installed Japanese face, or whatever the platform substitutes).
// Needs the application object to exist.
QStringList RegisterFontFile(const std::filesystem::path& fontFile);

// The face the reading panel asks for by name; the program's Japanese font
// file stands in for it.
inline constexpr const char* kPhoneticFace = "Kingsoft Phonetic Plain";

// Registers the Japanese font file and makes its family the Japanese face
// of the program, also behind `namedFace`, the face the reading panel asks
// for by name.
void UseJapaneseFontFile(const std::filesystem::path& fontFile, const QString& namedFace);

// The Japanese face: the registered one, else an installed Japanese face;
// empty when there is none.
QString JapaneseFamily();
// An installed Chinese (simplified) face; empty when there is none.
QString ChineseFamily();

// `font` with the Japanese (Chinese) face behind its own family, so the
// characters of that language come from it unless the font's own family
// draws them itself.
QFont WithJapaneseFallback(QFont font);
QFont WithChineseFallback(QFont font);
// `font` with the Japanese face before its own family and the Chinese face
// behind it: for boxes where the learner types or reads Japanese among
// Chinese, so that a kanji takes its Japanese form and a character only
// Chinese has still shows.
QFont JapaneseFirst(QFont font);
