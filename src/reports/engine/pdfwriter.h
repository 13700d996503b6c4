#pragma once
// A PDF writer for built documents that does not go through QPainter: the pages' display lists
// map one to one onto PDF operators, so a long report's file is written in a fraction of the
// time the painter's PDF engine needs. The fonts are embedded as subsets of their TrueType
// outlines (glyph ids kept, so the content streams use them directly), with a ToUnicode map so
// the text can be searched and extracted. Glyphs are spaced by the font's advances and the
// kerning pairs of its 'kern' table, as the painter spaces them and as the layout measured them.

#include <QString>

namespace report {

class Document;

enum class DirectPdfResult
{
    Written,
    CannotWrite,       // the file could not be created or written
    FontNotEmbeddable, // a font has no TrueType outlines to embed: nothing was written
    NeedsFallback,     // a character is missing from its font (the preview draws it from a
                       // fallback font): nothing was written
};

// Writes every page of `document` to `path`. A document with no pages gets one blank page, as
// the painter's PDF would.
DirectPdfResult writeDirectPdf(const Document &document, const QString &path);

} // namespace report
