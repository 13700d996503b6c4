#pragma once
// The report object: holds the template loaded last and builds it over the program's data into a
// Document. Loading a file always reads it anew and drops the template held before, so a template
// changed on disk takes effect at the next print.

#include "reports/engine/datasource.h"
#include "reports/engine/document.h"
#include "reports/engine/template.h"
#include "reports/engine/variables.h"

#include <QPageLayout>
#include <functional>
#include <memory>

namespace report {

// Thrown out of build() when its progress callback asks to stop; nothing is shown then.
class BuildCancelled : public ReportError
{
public:
    BuildCancelled()
        : ReportError(QStringLiteral("The report was cancelled"))
    {}
};

// The template file could not be read: "Cannot open file %s".
class TemplateFileError : public ReportError
{
public:
    explicit TemplateFileError(const QString &name)
        : ReportError(QStringLiteral("Cannot open file %1").arg(name))
    {}
};

class Report
{
public:
    // Starts with the built-in layout (the owner list); every print replaces it by its file.
    Report();
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    // Drops the template held so far, then reads `path`. Throws TemplateFileError ("Cannot open file
    // %s", with `displayName`, or the path when it is empty) or ReportError for a template that does
    // not parse.
    void load(const QString &path, const QString &displayName = QString());
    void loadFromData(const QByteArray &xml, const QString &fileName);
    void loadBuiltIn();
    void clear();
    bool hasTemplate() const { return tpl != nullptr; }
    const Template &layout() const;

    // Called now and then during a build with the pages and rows laid out so far; returning false
    // stops the build (BuildCancelled).
    using Progress = std::function<bool(int pages, int rows)>;

    // Lays the whole report out. Datasets of the data bands are opened when the build starts and
    // closed when it ends; their callbacks run during this call. `orientation` is used when the
    // template does not give one. Throws ReportError (for example "Field 'x' not found").
    Document build(DataContext &data, Variables &variables,
                   QPageLayout::Orientation orientation = QPageLayout::Portrait,
                   const Progress &progress = {});

    // For dataset callbacks during a build: end the current page; the next band starts a new one.
    // A request with nothing on the page yet, or after the last band, adds no page.
    void newPage();
    bool isBuilding() const { return active != nullptr; }
    // The page being laid out, from 1; 0 outside a build.
    int currentPage() const;

private:
    class Builder;
    std::unique_ptr<Template> tpl;
    Builder *active = nullptr;
};

// The built-in owner-list layout, as XML.
QByteArray builtInLayout();

} // namespace report
