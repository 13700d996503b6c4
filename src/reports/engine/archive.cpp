#include "reports/engine/archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace report {

QString archiveFolder()
{
    return qEnvironmentVariable("ZELVANA_PDF_ARCHIVE").trimmed();
}

QString archiveFileName(const QString &templateFile, const QDateTime &when)
{
    return QFileInfo(templateFile).completeBaseName() + QLatin1Char('_') +
           when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral(".pdf");
}

QString archiveDocument(const Document &document, const QString &folder, const QString &templateFile,
                        const QDateTime &when, QString *failedPath)
{
    QDir dir(folder);
    const QString name = archiveFileName(templateFile, when);
    QString path = dir.filePath(name);
    const bool existed = dir.exists();
    if (!dir.mkpath(QStringLiteral("."))) {
        if (failedPath)
            *failedPath = path;
        return QString();
    }
    // The documents name owners, their addresses and their money: the user's eyes only.
    if (!existed)
        QFile::setPermissions(dir.absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString stem = QFileInfo(name).completeBaseName();
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1_%2.pdf").arg(stem).arg(n));
    if (!writePdf(document, path)) {
        if (failedPath)
            *failedPath = path;
        return QString();
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

} // namespace report
