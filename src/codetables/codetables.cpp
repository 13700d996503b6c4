#include "codetables/codetables.h"

#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "reports/printing.h"

namespace {

// What one code table's windows differ in.
struct Member
{
    QString caption;
    bool listFixed;
    bool enter; // Enter moves the focus (and the fee box filter of the edit window)
    QString table, nameColumn, codeColumn;
    Query *list, *stmt, *aux;
    DataSource *source;
    QString *codeValue, *editMode;
    QString newMode, changeMode;
    QString openingCaption, nameCaption;
    QString searchLabel;
    QList<ListSpec::Field> adata;
    QList<DataSource::Column> grid;
    int codeSortColumn;
    QStringList defaultLines, codeLines;
    QString usageChangeSelect, usageDeleteSelect, usageColumn;
    QString usedOnChange, usedOnDelete, deleted, deleteFailed;
    QString hintNew, hintChange, hintPrint;
    QString printLine, templateName;
    // Contract items that name the row (the cultivation branch only): a use beside the parcels.
    QStringList itemUseLines = {};
};

QStringList usageLines(const QString &select, const QString &column)
{
    return {select, QStringLiteral("  FROM  tabla           "),
            QStringLiteral("  WHERE (%1 = :p1) ").arg(column),
            QStringLiteral("  GROUP BY %1      ").arg(column)};
}

Member muvag()
{
    TData &d = Data();
    Member m{QStringLiteral("Művelési ág"),
             true,
             true,
             QStringLiteral("muvag"),
             QStringLiteral("mMuvag"),
             QStringLiteral("mKod"),
             d.ZQ50,
             d.ZQ52,
             d.ZQ53,
             d.DQ50,
             &mv().muvagCode,
             &mv().muvagEditMode,
             QStringLiteral("Új művelési ág"),
             QStringLiteral("Művelési ág módositás"),
             QStringLiteral("A lista, \"Megnevezés\" szerint"),
             QStringLiteral("A lista, \"Művelési ág\" szerint"),
             QStringLiteral("Megnevezés:"),
             {{QStringLiteral("ID:"), {QStringLiteral("IDm")}},
              {QStringLiteral("Kód:"), {QStringLiteral("mKod")}},
              {QStringLiteral("Művelési ág:"), {QStringLiteral("mMuvag")}},
              {QStringLiteral("Minőségi o.:"), {QStringLiteral("mMino")}},
              {QStringLiteral("Bérleti dij:"), {QStringLiteral("mDij")}}},
             {{QStringLiteral("mMuvag"), QStringLiteral("Müvelési ág")},
              {QStringLiteral("mMino"), QStringLiteral("Minöségi o.")},
              {QStringLiteral("mDij"), QStringLiteral("Dij (Ft/AK)")},
              {QStringLiteral("mKod"), QStringLiteral("Kód")},
              {QStringLiteral("IDm"), QString()}},
             3,
             {QStringLiteral("SELECT * FROM muvag "), QStringLiteral("         ORDER BY mMuvag, mMino ")},
             {QStringLiteral("SELECT * FROM muvag "), QStringLiteral("         ORDER BY mKod ")},
             QStringLiteral("SELECT tMkod, count(tMKod) as db "),
             QStringLiteral("SELECT tMkod, count(tMkod) as db "),
             QStringLiteral("tMkod"),
             QStringLiteral("A művelési ág már használatban van ! Javitja ?"),
             QStringLiteral("A művelési ág már szerepel a haszonbérleti nyilvántartásban !"),
             QStringLiteral("A művelési ág törlölve!"),
             QStringLiteral("Hiba: muvag DELETE törlésekor"),
             QStringLiteral("Új művelési ág. Ablak nyitás"),
             QStringLiteral("Kiválasztott sor módositása"),
             QStringLiteral("Teljes lista a nevekről."),
             QStringLiteral("SELECT * FROM muvag ORDER BY mMuvag, mMino"),
             QStringLiteral("muvag.frf")};
    // Items name a branch too, and its fee per AK is their rent: deleting it would drop their rent
    // from the settlement (and a new branch given the freed code would re-price them); changing it
    // re-prices them.
    m.itemUseLines = {QStringLiteral("SELECT aMkod, count(aMkod) as db "),
                      QStringLiteral("  FROM  alresz           "), QStringLiteral("  WHERE (aMkod = :p1) "),
                      QStringLiteral("  GROUP BY aMkod      ")};
    return m;
}

Member varos()
{
    TData &d = Data();
    return {QStringLiteral("Helységnév"),
            false,
            false,
            QStringLiteral("varos"),
            QStringLiteral("vHelyseg"),
            QStringLiteral("vKod"),
            d.ZQ60,
            d.ZQ62,
            d.ZQ63,
            d.DQ60,
            &mv().varosCode,
            &mv().varosEditMode,
            QStringLiteral("Új helységnév"),
            QStringLiteral("Helységnév módositás"),
            QStringLiteral("A lista, \"Helységnév\" szerint"),
            QStringLiteral("A lista, \"Helységnév\" szerint"),
            QStringLiteral("Helységnév:"),
            {{QStringLiteral("ID:"), {QStringLiteral("IDv")}},
             {QStringLiteral("Kód:"), {QStringLiteral("vKod")}},
             {QStringLiteral("Helységnév:"), {QStringLiteral("vHelyseg")}}},
            {{QStringLiteral("vHelyseg"), QStringLiteral("Helységnév")},
             {QStringLiteral("vKod"), QStringLiteral("Kód")},
             {QStringLiteral("IDv"), QString()}},
            1,
            {QStringLiteral("SELECT * FROM varos "), QStringLiteral("         ORDER BY vHelyseg ")},
            {QStringLiteral("SELECT * FROM varos "), QStringLiteral("         ORDER BY vKod ")},
            QStringLiteral("SELECT tvkod, count(tvKod) as db "),
            QStringLiteral("SELECT tvkod, count(tvkod) as db "),
            QStringLiteral("tvkod"),
            QStringLiteral("A helységnév már használatban van ! Javitja ?"),
            QStringLiteral("A helységnév már szerepel a haszonbérleti nyilvántartásban !"),
            QStringLiteral("A helységnév törlölve!"),
            QStringLiteral("Hiba: varos DELETE törlésekor"),
            QStringLiteral("Új név. Ablak nyitás"),
            QStringLiteral("Kiválasztott név módositása"),
            QStringLiteral("Teljes lista a nevekről."),
            QStringLiteral("SELECT * FROM varos ORDER BY vHelyseg "),
            QStringLiteral("varos.frf")};
}

Member tforma()
{
    TData &d = Data();
    return {QStringLiteral("Tulajdonforma bevitel"),
            false,
            false,
            QStringLiteral("tforma"),
            QStringLiteral("uTulforma"),
            QStringLiteral("uKod"),
            d.ZQ70,
            d.ZQ72,
            d.ZQ73,
            d.DQ70,
            &mv().tformaCode,
            &mv().tformaEditMode,
            QStringLiteral("Új tulajdonforma"),
            QStringLiteral("Tulajdonforma módositás"),
            QStringLiteral("A lista, \"Tulajdonforma\" szerint"),
            QStringLiteral("A lista, \"Tulajdonforma\" szerint"),
            QStringLiteral("Tulajdonforma:"),
            {{QStringLiteral("ID:"), {QStringLiteral("IDu")}},
             {QStringLiteral("Kód:"), {QStringLiteral("uKod")}},
             {QStringLiteral("Tulajdonforma:"), {QStringLiteral("uTulforma")}}},
            {{QStringLiteral("uTulforma"), QStringLiteral("Tulajdonforma")},
             {QStringLiteral("uKod"), QStringLiteral("Kód")},
             {QStringLiteral("IDu"), QString()}},
            1,
            {QStringLiteral("SELECT * FROM tforma "), QStringLiteral("         ORDER BY uTulforma ")},
            {QStringLiteral("SELECT * FROM tforma "), QStringLiteral("         ORDER BY uKod ")},
            QStringLiteral("SELECT tukod, count(tuKod) as db "),
            QStringLiteral("SELECT tukod, count(tukod) as db "),
            QStringLiteral("tukod"),
            QStringLiteral("A tulajdonforma már használatban van ! Javitja ?"),
            QStringLiteral("A tulajdonforma már szerepel a haszonbérleti nyilvántartásban !"),
            QStringLiteral("A tulajdonforma törlölve!"),
            QStringLiteral("Hiba: tforma DELETE törlésekor"),
            QStringLiteral("Új tulajdonforma. Ablak nyitás"),
            QStringLiteral("Kiválasztott név módositása"),
            QStringLiteral("Teljes lista a nevekről."),
            QStringLiteral("SELECT * FROM tforma ORDER BY uTulforma "),
            QStringLiteral("tforma.frf")};
}

Member fekves()
{
    TData &d = Data();
    return {QStringLiteral("Fekvés bevitel"),
            false,
            false,
            QStringLiteral("fekves"),
            QStringLiteral("fFekves"),
            QStringLiteral("fKod"),
            d.ZQ100,
            d.ZQ102,
            d.ZQ103,
            d.DQ100,
            &mv().fekvesCode,
            &mv().fekvesEditMode,
            QStringLiteral("Új fekvés"),
            QStringLiteral("Fekvés módositás"),
            QStringLiteral("A lista, \"Fekvés\" szerint"),
            QStringLiteral("A lista, \"Fekvés\" szerint"),
            QStringLiteral("Fekvés:"),
            {{QStringLiteral("ID:"), {QStringLiteral("IDf")}},
             {QStringLiteral("Kód:"), {QStringLiteral("fKod")}},
             {QStringLiteral("Fekvés:"), {QStringLiteral("fFekves")}}},
            {{QStringLiteral("fFekves"), QStringLiteral("Fekvés")},
             {QStringLiteral("fKod"), QStringLiteral("Kód")},
             {QStringLiteral("IDf"), QString()}},
            1,
            {QStringLiteral("SELECT * FROM fekves "), QStringLiteral("         ORDER BY fFekves ")},
            {QStringLiteral("SELECT * FROM fekves "), QStringLiteral("         ORDER BY fKod ")},
            QStringLiteral("SELECT tfkod, count(tfKod) as db "),
            QStringLiteral("SELECT tfkod, count(tfkod) as db "),
            QStringLiteral("tfkod"),
            QStringLiteral("A fekvés már használatban van ! Javitja ?"),
            QStringLiteral("A fekvés már szerepel a haszonbérleti nyilvántartásban !"),
            QStringLiteral("A fekvés törlölve!"),
            QStringLiteral("Hiba: fekves DELETE törlésekor"),
            QStringLiteral("Új tétel létrehozása. Ablak nyitás"),
            QStringLiteral("Kiválasztott sor módositása"),
            QStringLiteral("Teljes lista a tételekről."),
            QStringLiteral("SELECT * FROM fekves ORDER BY fFekves "),
            QStringLiteral("fekves.frf")};
}

ListSpec listSpec(const Member &m, std::function<EditWindow *(QWidget *)> editor)
{
    ListSpec s;
    s.caption = m.caption;
    s.fixedSize = m.listFixed;
    s.enterMovesFocus = m.enter;
    s.list = m.list;
    s.source = m.source;
    s.gridColumns = m.grid;
    s.adata = m.adata;
    s.openingCaption = m.openingCaption;
    s.defaultLines = m.defaultLines;
    s.searchLabel = m.searchLabel;
    s.searchField = m.nameColumn;
    s.searchCaption = m.nameCaption;
    s.sorts = {{0, m.defaultLines, m.nameCaption},
               {m.codeSortColumn, m.codeLines, QStringLiteral("A lista, \"Kód\" szerint")}};
    s.codeField = m.codeColumn;
    s.codeValue = m.codeValue;
    s.usageQuery = m.aux;
    // The column read for the checks and the delete, in the letter case each step uses.
    const QString prefix = m.codeColumn.left(1);
    const QString changeField = prefix + QStringLiteral("Kod"), deleteField = prefix + QStringLiteral("KOd");
    s.usesOnChange = {{usageLines(m.usageChangeSelect, m.usageColumn), changeField, m.usedOnChange}};
    s.usesOnDelete = {{usageLines(m.usageDeleteSelect, m.usageColumn), deleteField, m.usedOnDelete}};
    if (!m.itemUseLines.isEmpty()) {
        s.usesOnChange.append({m.itemUseLines, changeField, m.usedOnChange});
        s.usesOnDelete.append({m.itemUseLines, deleteField, m.usedOnDelete});
    }
    s.countQuery = m.stmt;
    s.countLines = {QStringLiteral("SELECT count(*) AS db FROM %1      ").arg(m.table)};
    s.deleteQuery = m.aux;
    s.deleteLines = {QStringLiteral("DELETE FROM %1      ").arg(m.table),
                     QStringLiteral("  WHERE %1kod = :p1 ").arg(prefix)};
    s.deleteCodeField = prefix + QStringLiteral("kod");
    s.deletedMessage = m.deleted;
    s.deleteFailedMessage = m.deleteFailed;
    s.editMode = m.editMode;
    s.newModeText = m.newMode;
    s.changeModeText = m.changeMode;
    s.makeEditor = std::move(editor);
    s.hintNew = m.hintNew;
    s.hintChange = m.hintChange;
    s.hintPrint = m.hintPrint;
    s.buttonOrder =
        s.buttonTabOrder = {QStringLiteral("Button2"), QStringLiteral("Button3"), QStringLiteral("Button4"),
                            QStringLiteral("Button5"), QStringLiteral("Button1"), QStringLiteral("Button7")};
    Query *aux = m.aux;
    const QString printLine = m.printLine, templ = m.templateName;
    s.print = [aux, printLine, templ] {
        aux->setSql({printLine});
        aux->open();
        printTemplate(templ, QPageLayout::Portrait);
    };
    return s;
}

// The edit window of a code table with only a name: Edit1 the name, Edit2 and Edit3 the hidden
// identifier and code.
EditSpec nameEditSpec(const Member &m, const QString &designCaption, const QString &label,
                      const QString &idColumn, const QString &emptyMessage, const QString &hint)
{
    EditSpec s;
    s.designCaption = designCaption;
    s.fixedSize = false;
    s.boxes = {
        {QStringLiteral("Edit1"), label, m.nameColumn, 45, {}, false, {}, hint},
        {QStringLiteral("Edit2"), {}, idColumn, 0, {}, false, {}, {}, true, true, QStringLiteral("ID")},
        {QStringLiteral("Edit3"),
         {},
         m.codeColumn,
         5,
         {},
         false,
         {},
         {},
         true,
         true,
         QStringLiteral("Nkód")}};
    s.okName = QStringLiteral("Button2");
    s.cancelName = QStringLiteral("Button4");
    s.idBox = QStringLiteral("Edit2");
    s.codeBox = QStringLiteral("Edit3");
    s.editMode = m.editMode;
    s.newModeText = m.newMode;
    s.codeValue = m.codeValue;
    s.list = m.list;
    s.stmt = m.stmt;
    s.aux = m.aux;
    s.table = m.table;
    s.codeField = m.codeColumn;
    s.listLinesAfterSaving = m.defaultLines;
    s.checks = {{QStringLiteral("Edit1"), EditSpec::Check::Kind::NotBlank, emptyMessage}};
    s.insertBindings = {{QStringLiteral("p1"), {}}, {QStringLiteral("p2"), QStringLiteral("Edit1")}};
    s.replaceBindings = {{QStringLiteral("p0"), QStringLiteral("Edit2")},
                         {QStringLiteral("p1"), QStringLiteral("Edit3")},
                         {QStringLiteral("p2"), QStringLiteral("Edit1")}};
    const QString t = m.table;
    s.fillFailure = QStringLiteral("Hiba az %1 módosítás Edit-ben való megjelenitésekor!").arg(t);
    s.changeFailure = QStringLiteral("Hiba: Módisitás, REPLACE-edit a %1-ban ").arg(t);
    s.insertFailure = QStringLiteral("Hiba: Újban, INSERT-append a %1-ban ").arg(t);
    s.otherFailure = QStringLiteral("Hiba az append vagy edit közben az %1-ban!").arg(t);
    return s;
}

EditSpec muvagEditSpec()
{
    const Member m = muvag();
    EditSpec s = nameEditSpec(m, QStringLiteral("Művelési ág bevitel"), QStringLiteral("Művelési ág"),
                              QStringLiteral("IDm"), QStringLiteral("Üres a művelési ág!"), {});
    s.fixedSize = true;
    s.enterMovesFocus = true;
    s.boxes = {{QStringLiteral("Edit1"), QStringLiteral("Művelési ág"), QStringLiteral("mMuvag"), 45},
               {QStringLiteral("Edit2"), QStringLiteral("Minőségi o."), QStringLiteral("mMino"), 45},
               {QStringLiteral("Edit3"), QStringLiteral("Bérleti díj"), QStringLiteral("mDij"), 0,
                QStringLiteral("0123456789,"), true, QStringLiteral("0")},
               {QStringLiteral("Edit4"),
                {},
                QStringLiteral("IDm"),
                0,
                {},
                false,
                {},
                {},
                true,
                true,
                QStringLiteral("ID")},
               {QStringLiteral("Edit5"),
                {},
                QStringLiteral("mKod"),
                5,
                {},
                false,
                {},
                {},
                true,
                true,
                QStringLiteral("Nkód")}};
    s.idBox = QStringLiteral("Edit4");
    s.codeBox = QStringLiteral("Edit5");
    s.insertLines = {QStringLiteral("INSERT INTO muvag ( mKod, mMuvag, mMino, mDij ) "),
                     QStringLiteral("   VALUES        (   :p1,    :p2,   :p3,  :p4 ) ")};
    s.replaceLines = {QStringLiteral("REPLACE INTO muvag ( IDm, mKod, mMuvag, mMino, mDij ) "),
                      QStringLiteral("   VALUES         (  :p0,  :p1,    :p2,   :p3,  :p4 ) ")};
    s.insertBindings = {{QStringLiteral("p1"), {}},
                        {QStringLiteral("p2"), QStringLiteral("Edit1")},
                        {QStringLiteral("p3"), QStringLiteral("Edit2")},
                        {QStringLiteral("p4"), QStringLiteral("Edit3"), EditSpec::Type::Number}};
    s.replaceBindings = {{QStringLiteral("p0"), QStringLiteral("Edit4")},
                         {QStringLiteral("p1"), QStringLiteral("Edit5")},
                         {QStringLiteral("p2"), QStringLiteral("Edit1")},
                         {QStringLiteral("p3"), QStringLiteral("Edit2")},
                         {QStringLiteral("p4"), QStringLiteral("Edit3"), EditSpec::Type::Number}};
    return s;
}

EditSpec varosEditSpec()
{
    EditSpec s = nameEditSpec(varos(), QStringLiteral("Helységnév bevitel"), QStringLiteral("Helységnév"),
                              QStringLiteral("IDv"), QStringLiteral("Üres a helységnév!"), {});
    s.insertLines = {QStringLiteral("INSERT INTO varos ( vKod, vHelyseg ) "),
                     QStringLiteral("   VALUES        (   :p1,    :p2   ) ")};
    s.replaceLines = {QStringLiteral("REPLACE INTO varos ( IDv, vKod, vHelyseg ) "),
                      QStringLiteral("   VALUES         (  :p0,  :p1,      :p2 ) ")};
    return s;
}

EditSpec tformaEditSpec()
{
    EditSpec s = nameEditSpec(tforma(), QStringLiteral("Tulajdonforma bevitel"),
                              QStringLiteral("Tulajdonforma"), QStringLiteral("IDu"),
                              QStringLiteral("Üres tulajdonforma!"), QStringLiteral("Irja be az adatot."));
    s.insertLines = {QStringLiteral("INSERT INTO tforma ( uKod, uTulforma ) "),
                     QStringLiteral("   VALUES        (    :p1,     :p2   ) ")};
    s.replaceLines = {QStringLiteral("REPLACE INTO tforma ( IDu, uKod, uTulforma ) "),
                      QStringLiteral("   VALUES          (  :p0,  :p1,       :p2 ) ")};
    return s;
}

EditSpec fekvesEditSpec()
{
    EditSpec s = nameEditSpec(fekves(), QStringLiteral("Fekvés bevitel"), QStringLiteral("Fekvés"),
                              QStringLiteral("IDf"), QStringLiteral("Üres fekvés!"), {});
    s.insertLines = {QStringLiteral("INSERT INTO fekves ( fKod, fFekves ) "),
                     QStringLiteral("   VALUES        (    :p1,     :p2   ) ")};
    s.replaceLines = {QStringLiteral("REPLACE INTO fekves ( IDf, fKod, fFekves ) "),
                      QStringLiteral("   VALUES          (  :p0,  :p1,       :p2 ) ")};
    return s;
}

} // namespace

TForm5::TForm5(QWidget *parent)
    : ListWindow(listSpec(muvag(), [](QWidget *p) { return new TForm6(p); }), parent)
{
    setObjectName(QStringLiteral("Form5"));
}
TForm7::TForm7(QWidget *parent)
    : ListWindow(listSpec(varos(), [](QWidget *p) { return new TForm8(p); }), parent)
{
    setObjectName(QStringLiteral("Form7"));
}
TForm9::TForm9(QWidget *parent)
    : ListWindow(listSpec(tforma(), [](QWidget *p) { return new TForm10(p); }), parent)
{
    setObjectName(QStringLiteral("Form9"));
}

namespace {
ListSpec fekvesListSpec()
{
    ListSpec s = listSpec(fekves(), [](QWidget *p) { return new TForm12(p); });
    // The location list writes its pick into the parcel edit window itself, and only on "Kiválaszt".
    s.onPick = [](ListWindow &w) {
        auto *target = dynamic_cast<LocationPickTarget *>(w.parentWidget());
        if (!target)
            return;
        Query *q = Data().ZQ100;
        target->setLocation(q->fieldText(QStringLiteral("fFekves")), q->fieldText(QStringLiteral("fKod")));
    };
    return s;
}
} // namespace

TForm11::TForm11(QWidget *parent)
    : ListWindow(fekvesListSpec(), parent)
{
    setObjectName(QStringLiteral("Form11"));
}

TForm6::TForm6(QWidget *parent)
    : EditWindow(muvagEditSpec(), parent)
{
    setObjectName(QStringLiteral("Form6"));
}
TForm8::TForm8(QWidget *parent)
    : EditWindow(varosEditSpec(), parent)
{
    setObjectName(QStringLiteral("Form8"));
}
TForm10::TForm10(QWidget *parent)
    : EditWindow(tformaEditSpec(), parent)
{
    setObjectName(QStringLiteral("Form10"));
}
TForm12::TForm12(QWidget *parent)
    : EditWindow(fekvesEditSpec(), parent)
{
    setObjectName(QStringLiteral("Form12"));
}

void codetables::registerWindows()
{
    windows::registerWindow(QStringLiteral("TForm5"), [](QWidget *p) { return new TForm5(p); });
    windows::registerWindow(QStringLiteral("TForm7"), [](QWidget *p) { return new TForm7(p); });
    windows::registerWindow(QStringLiteral("TForm9"), [](QWidget *p) { return new TForm9(p); });
    windows::registerWindow(QStringLiteral("TForm11"), [](QWidget *p) { return new TForm11(p); });
}
