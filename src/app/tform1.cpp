#include "app/tform1.h"

#include "foundation/application.h"
#include "foundation/tdata.h"
#include "foundation/ui.h"
#include "foundation/windows.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// F1 on an open menu asks for that menu's help context.
class HelpKeyFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
            const int context = watched->property("helpContext").toInt();
            if (windows::isRegistered(QStringLiteral("TForm29"))) {
                qApp->setProperty("helpContext", context);
                windows::openModal(QStringLiteral("TForm29"), qobject_cast<QWidget *>(parent()));
            }
            return true;
        }
        return false;
    }
};

} // namespace

const QStringList &TForm1::startupMessageLines()
{
    static const QStringList lines{
        QStringLiteral("A MySQL adatbáziskezelöt nem találja."),
        QStringLiteral("A program müködéséhez szükséges."),
        QStringLiteral("Telepítés lépései:"),
        QStringLiteral("1.MySQL telepítés (Telepito1_MySQL.exe)."),
        QStringLiteral("2.Zelvana adatbázis létrehozása (Zelv09_Create.exe)."),
        QStringLiteral("3. A zelvana program futtatás (Zelv09.exe)."),
    };
    return lines;
}

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zelvana Ver. 2.7 2010. év"));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, QColor(0x00, 0x80, 0x00));
    client->setPalette(pal);
    setCentralWidget(client);
    buildMenu();
    // 553 x 223, widened only as far as the nine menu titles need in the desktop's font, so
    // none of them hides behind an overflow button.
    resize(qMax(553, menuBar()->sizeHint().width() + 8), 223);
    if (QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TForm1::~TForm1()
{
    if (hasData()) {
        TData *d = &Data();
        setData(nullptr);
        delete d;
    }
}

void TForm1::FormCreate()
{
    try {
        // 1.-2. The data module connects when it is created.
        auto *data = new TData();
        setData(data);
        // 3. Closing and opening the table views proves that every table exists.
        data->reopenTableViews();
        started = true;
    } catch (const std::exception &) {
        if (hasData()) {
            TData *d = &Data();
            setData(nullptr);
            delete d;
        }
        // 4. Whatever the answer (or the close box), the program cannot go on without its database.
        ui::confirm(startupMessageLines().join(QLatin1Char('\n')));
        started = false;
    }
    // 5. Decimal comma and dotted dates from here on.
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
}

QAction *TForm1::addItem(QMenu *menu, QMenuBar *bar, const QString &name, const QString &caption,
                         const QString &window, void (TForm1::*handler)())
{
    QAction *a = menu ? menu->addAction(caption) : bar->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    if (!window.isEmpty())
        items.append({a, window});
    return a;
}

void TForm1::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *help = new HelpKeyFilter(this);

    Kifizets1 = bar->addMenu(QStringLiteral("Kifizetés"));
    Kifizets1->setObjectName(QStringLiteral("Kifizets1"));
    Kifizets1->setProperty("helpContext", 1);
    Kifizets1->installEventFilter(help);
    Kifizets1->menuAction()->setObjectName(QStringLiteral("Kifizets1Action"));
    addItem(Kifizets1, bar, QStringLiteral("Bizonylat1"), QStringLiteral("Terményben"),
            QStringLiteral("TForm20"), &TForm1::Bizonylat1Click);
    addItem(Kifizets1, bar, QStringLiteral("Jegyzk1"), QStringLiteral("Jegyzék"), QStringLiteral("TForm22"),
            &TForm1::Jegyzk1Click);
    // The payout by bank transfer and postal order, beside the cash register.
    addItem(Kifizets1, bar, QStringLiteral("Atutalas1"), QStringLiteral("Átutalás"),
            QStringLiteral("TForm31"), &TForm1::Atutalas1Click);
    addItem(Kifizets1, bar, QStringLiteral("Csoportos1"), QStringLiteral("Csoportos feladás"),
            QStringLiteral("TForm21"), &TForm1::Csoportos1Click);
    addItem(Kifizets1, bar, QStringLiteral("Igazols1"), QStringLiteral("Igazolás"), QStringLiteral("TForm24"),
            &TForm1::Igazols1Click);

    addItem(nullptr, bar, QStringLiteral("Bejelents1"), QStringLiteral("Bejelentés"),
            QStringLiteral("TForm30"), &TForm1::Bejelents1Click);
    addItem(nullptr, bar, QStringLiteral("Lekrdezs4"), QStringLiteral("Listák"), QStringLiteral("TForm25"),
            &TForm1::Lekrdezs4Click);
    addItem(nullptr, bar, QStringLiteral("Haszonbrlet1"), QStringLiteral("Szerződés"),
            QStringLiteral("TForm15"), &TForm1::Haszonbrlet1Click);
    addItem(nullptr, bar, QStringLiteral("Bevitel1"), QStringLiteral("Tulajdonos"), QStringLiteral("TForm3"),
            &TForm1::Bevitel1Click);
    addItem(nullptr, bar, QStringLiteral("Tbla1"), QStringLiteral("Helyrajziszám"), QStringLiteral("TForm13"),
            &TForm1::Tbla1Click);

    Trzsadat1 = bar->addMenu(QStringLiteral("Törzsadat"));
    Trzsadat1->setObjectName(QStringLiteral("Trzsadat1"));
    addItem(Trzsadat1, bar, QStringLiteral("mvelsig1"), QStringLiteral("Művelési ág"),
            QStringLiteral("TForm5"), &TForm1::mvelsig1Click);
    addItem(Trzsadat1, bar, QStringLiteral("Helysgnv2"), QStringLiteral("Helységnév"),
            QStringLiteral("TForm7"), &TForm1::Helysgnv2Click);
    addItem(Trzsadat1, bar, QStringLiteral("Tulajdonforma2"), QStringLiteral("Tulajdonforma"),
            QStringLiteral("TForm9"), &TForm1::Tulajdonforma2Click);
    addItem(Trzsadat1, bar, QStringLiteral("Fekvs2"), QStringLiteral("Fekvés"), QStringLiteral("TForm11"),
            &TForm1::Fekvs2Click);

    Ments1 = bar->addMenu(QStringLiteral("Segédlet"));
    Ments1->setObjectName(QStringLiteral("Ments1"));
    addItem(Ments1, bar, QStringLiteral("Ellenrzs1"), QStringLiteral("Ellenörzés"), QStringLiteral("TForm27"),
            &TForm1::Ellenrzs1Click);
    addItem(Ments1, bar, QStringLiteral("Adatments1"), QStringLiteral("Adat export"),
            QStringLiteral("TForm26"), &TForm1::Adatments1Click);

    Kilps1 = bar->addMenu(QStringLiteral("Kilépés"));
    Kilps1->setObjectName(QStringLiteral("Kilps1"));
    addItem(Kilps1, bar, QStringLiteral("Vge1"), QStringLiteral("Vége"), QString(), &TForm1::Vge1Click);
    addItem(Kilps1, bar, QStringLiteral("Nvjegy1"), QStringLiteral("Névjegy"), QStringLiteral("TForm28"),
            &TForm1::Nvjegy1Click);
    addItem(Kilps1, bar, QStringLiteral("Sg1"), QStringLiteral("Súgó"), QStringLiteral("TForm29"),
            &TForm1::Sg1Click);
    updateMenu();
}

void TForm1::updateMenu()
{
    for (const auto &[action, window] : std::as_const(items))
        action->setEnabled(windows::isRegistered(window));
}

void TForm1::open(const QString &window)
{
    windows::openModal(window, this);
}

void TForm1::Bizonylat1Click()
{
    open(QStringLiteral("TForm20"));
}
void TForm1::Jegyzk1Click()
{
    open(QStringLiteral("TForm22"));
}
void TForm1::Atutalas1Click()
{
    open(QStringLiteral("TForm31"));
}
void TForm1::Csoportos1Click()
{
    open(QStringLiteral("TForm21"));
}
void TForm1::Igazols1Click()
{
    open(QStringLiteral("TForm24"));
}
void TForm1::Bejelents1Click()
{
    open(QStringLiteral("TForm30"));
}
void TForm1::Lekrdezs4Click()
{
    open(QStringLiteral("TForm25"));
}
void TForm1::Haszonbrlet1Click()
{
    open(QStringLiteral("TForm15"));
}
void TForm1::Bevitel1Click()
{
    open(QStringLiteral("TForm3"));
}
void TForm1::Tbla1Click()
{
    open(QStringLiteral("TForm13"));
}
void TForm1::mvelsig1Click()
{
    open(QStringLiteral("TForm5"));
}
void TForm1::Helysgnv2Click()
{
    open(QStringLiteral("TForm7"));
}
void TForm1::Tulajdonforma2Click()
{
    open(QStringLiteral("TForm9"));
}
void TForm1::Fekvs2Click()
{
    open(QStringLiteral("TForm11"));
}
void TForm1::Ellenrzs1Click()
{
    open(QStringLiteral("TForm27"));
}
void TForm1::Adatments1Click()
{
    open(QStringLiteral("TForm26"));
}
void TForm1::Vge1Click()
{
    close();
}
void TForm1::Nvjegy1Click()
{
    open(QStringLiteral("TForm28"));
}
void TForm1::Sg1Click()
{
    open(QStringLiteral("TForm29"));
}
