#pragma once

#include <QByteArray>
#include <QString>

// Code page numbers as Windows names them.
constexpr int cpOem850 = 850;
constexpr int cpWindows1252 = 1252;
constexpr int cpUtf8 = 65001;

// Bytes in the given code page as text; empty bytes give the empty text. A
// single-byte code page gives exactly one character per byte: a byte the code
// page leaves undefined becomes the character of the same number, as Windows
// does, so that encoding the text again gives the same bytes.
QString DecodeCodePage(const QByteArray& bytes, int codePage);

// Text as bytes in the given code page; a character the code page cannot
// represent becomes "?", the code page's default character, and clears
// *lossless when given.
QByteArray EncodeCodePage(const QString& text, int codePage, bool* lossless = nullptr);

// The code page that files without a byte-order mark are written in when they
// are not UTF-8: the system's ANSI code page on Windows, Windows-1252 elsewhere.
int AnsiCodePage();
