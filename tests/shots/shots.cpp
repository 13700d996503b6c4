// Saves a picture of each window over the database of the environment (for looking at layouts;
// not a test). Usage: zelvana_shots OUTDIR [TFormN | print-TFormN | listaN=CODE | help=PAGE |
// payout-file=PATH ...]
#include "app/registry.h"
#include "app/tform1.h"
#include "codetables/codetables.h"
#include "contracts/contracts.h"
#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "foundation/windows.h"
#include "maintenance/maintenance.h"
#include "owners/owners.h"
#include "parcels/parcels.h"
#include "payments/payments.h"
#include "reports/printing.h"
#include "settlement/payoutwindow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <iostream>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    if (argc < 2) {
        std::cerr << "usage: zelvana_shots OUTDIR [TFormN ...]\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    TForm1 main;
    if (!main.startedUp())
        return 1;
    main.show();
    QStringList names;
    for (int i = 2; i < argc; ++i)
        names << QString::fromLocal8Bit(argv[i]);
    auto save = [&](QWidget *w, const QString &name) {
        w->show();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        w->grab().save(out + QLatin1Char('/') + name + QStringLiteral(".png"));
        std::cout << name.toStdString() << " " << w->width() << "x" << w->height() << "\n";
    };
    save(&main, QStringLiteral("TForm1"));
    // Edit windows, in new mode and (filled from the list's first row) in change mode.
    const QHash<QString, std::function<QDialog *()>> editors{
        {QStringLiteral("TForm6"), [] { return new TForm6; }},
        {QStringLiteral("TForm8"), [] { return new TForm8; }},
        {QStringLiteral("TForm10"), [] { return new TForm10; }},
        {QStringLiteral("TForm12"), [] { return new TForm12; }},
        {QStringLiteral("TForm4"), [] { return new TForm4; }},
        {QStringLiteral("TForm14"), [] { return new TForm14; }},
        {QStringLiteral("TForm16"),
         [] {
             mv().hasznEditMode = QStringLiteral("Új haszonbérlet");
             return new TForm16;
         }},
        {QStringLiteral("TForm19"),
         [] {
             mv().kifizEditMode = QStringLiteral("Új kifizetés");
             return new TForm19;
         }},
        {QStringLiteral("TForm17"),
         [] {
             mv().alreszEditMode = QStringLiteral("Új alrészlet");
             return new TForm17(QStringLiteral("1"));
         }},
    };
    for (const auto &name : std::as_const(names)) {
        if (name.startsWith(QLatin1String("print-"))) {
            // print-TFormN: the list window's "Nyomtat", the preview grabbed and closed.
            const QString cls = name.mid(6);
            std::unique_ptr<QDialog> w(windows::create(cls, &main));
            if (!w)
                continue;
            w->show();
            QCoreApplication::processEvents();
            // Every preview the print opens (the payout prints two) is grabbed and closed.
            int previews = 0;
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, [&, cls] {
                QWidget *m = QApplication::activeModalWidget();
                if (!m || m == w.get())
                    return;
                m->grab().save(out + QStringLiteral("/preview-") + cls +
                               (previews ? QStringLiteral("-%1").arg(previews + 1) : QString()) +
                               QStringLiteral(".png"));
                ++previews;
                m->close();
            });
            closer.start(1500);
            // A window of ticked owners prints them all.
            if (auto *all = w->findChild<QPushButton *>(QStringLiteral("Button8")))
                all->click();
            for (auto *b : w->findChildren<QPushButton *>())
                if (b->text() == QStringLiteral("Nyomtat")) {
                    b->click();
                    break;
                }
        } else if (name.startsWith(QLatin1String("lista"))) {
            // listaN=CODE: the lists window's list N printed for CODE, the preview grabbed.
            const int list = name.mid(5, 1).toInt();
            TForm25 w(&main);
            w.show();
            w.findChild<QRadioButton *>(QStringLiteral("RadioButton%1").arg(list - 2))->setChecked(true);
            w.Edit2->setText(name.section(QLatin1Char('='), 1));
            QTimer::singleShot(1500, [&, list] {
                if (QWidget *m = QApplication::activeModalWidget()) {
                    m->grab().save(out + QStringLiteral("/preview-lista%1.png").arg(list));
                    m->close();
                }
            });
            w.Button7Click();
        } else if (name.startsWith(QLatin1String("payout-file="))) {
            // payout-file=PATH: the transfer file of every owner the payout window offers.
            TForm31 w(&main);
            w.show();
            QCoreApplication::processEvents();
            payout::Batch b;
            b.debtorName = Data().ZTable8->fieldText(QStringLiteral("BNeve"));
            b.debtorAccount = account::parse(w.Edit1->text());
            b.created = QDateTime::currentDateTime();
            b.executionDate = QDate::currentDate();
            b.remittance = w.Edit2->text();
            for (const payout::Line &l : w.lines())
                if (l.way == payout::Way::Transfer)
                    b.lines.append(l);
            QFile f(name.section(QLatin1Char('='), 1));
            if (f.open(QIODevice::WriteOnly))
                f.write(payout::pain001(b));
        } else if (name.startsWith(QLatin1String("help="))) {
            HelpViewer viewer(name.mid(5), &main);
            save(&viewer, QStringLiteral("help-") + name.mid(5).section(QLatin1Char('.'), 0, 0));
        } else if (windows::isRegistered(name)) {
            std::unique_ptr<QDialog> w(windows::create(name, &main));
            save(w.get(), name);
        } else if (name.startsWith(QLatin1String("print:"))) {
            // print:Tulaj.frf:SQL — the preview of a template over ZQ33 prepared with SQL.
            const QString templ = name.section(QLatin1Char(':'), 1, 1);
            const QString sql = name.section(QLatin1Char(':'), 2);
            Query *q = Data().ZQ33;
            q->close();
            q->clearSql();
            q->addSql(sql);
            q->open();
            QTimer::singleShot(1500, [&, templ] {
                if (QWidget *w = QApplication::activeModalWidget()) {
                    w->grab().save(out + QStringLiteral("/preview-") + templ + QStringLiteral(".png"));
                    w->close();
                }
            });
            printTemplate(templ, QPageLayout::Portrait);
        } else if (editors.contains(name)) {
            std::unique_ptr<QDialog> w(editors.value(name)());
            save(w.get(), name);
        }
    }
    return 0;
}
