#pragma once
// A reader for the part of RTF that short formatted texts use: groups, the font
// and colour tables, bold, font size, text colour, paragraphs, hex and Unicode
// escapes. Every other control word is ignored and every other destination
// skipped. Input of any shape is read to its end without failing: nesting and
// numeric parameters are capped, braces need not balance.

#include <QByteArray>

class QTextDocument;

// Replaces the content of `doc` with the text of `rtf`.
void ReadRtf(const QByteArray &rtf, QTextDocument &doc);

// Limits that keep hostile input harmless.
constexpr int RtfMaxGroupDepth = 200;     // deeper groups share the state of level 200
constexpr int RtfMaxControlWord = 32;     // longer control words are read but not matched
constexpr int RtfMaxParameter = 1000000;  // numeric parameters are clamped to +/- this
constexpr int RtfMaxHalfPoints = 3276;    // \fs above this (1638 points) is clamped
