#pragma once
// The one way the program prints: a template of the working folder over the data module.

#include <QPageLayout>
#include <QString>

// Loads `fileName` from the current working directory (anew at every print), builds it over the
// data module with the program's report variables, and shows the preview; returns when the
// preview closes. "Cannot open file %s" when the file cannot be read; a build error shows a box
// titled "Error" and no preview. Returns true when the preview was shown.
bool printTemplate(const QString &fileName, QPageLayout::Orientation orientation);
