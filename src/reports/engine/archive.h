#pragma once
// The archive of printed documents: when the environment variable ZELVANA_PDF_ARCHIVE names a
// folder, every document a print builds is also kept there as a PDF named after the template and
// the time of printing, so a farm can keep what it issued.

#include "reports/engine/document.h"

#include <QDateTime>
#include <QString>

namespace report {

// The folder the environment names, or an empty text when archiving is off.
QString archiveFolder();

// "Tulaj.frf" printed at 2026-12-10 14:03:22 -> "Tulaj_2026-12-10_14-03-22.pdf".
QString archiveFileName(const QString &templateFile, const QDateTime &when);

// Writes the document into `folder` (created when missing); a second print within the same second
// gets "_2", "_3", ... Returns the path written, or an empty text when the file could not be
// written (then *failedPath, when given, holds the path that was tried).
QString archiveDocument(const Document &document, const QString &folder, const QString &templateFile,
                        const QDateTime &when, QString *failedPath = nullptr);

} // namespace report
