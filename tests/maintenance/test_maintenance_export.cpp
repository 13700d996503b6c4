// The data export TForm26: the files the server writes, read back byte for byte (values that need
// escaping, NULL); a second export replacing the first; a place that is no full path refused before
// anything is written; a place the server may not write into reported with the server's message,
// the last good export kept; the default place; nothing ticked.

#include "foundation/application.h"
#include "foundation/globals.h"
#include "foundation/tdata.h"
#include "maintenance/maintenance.h"
#include "support/testdb.h"
#include "support/uidriver.h"
#include "support/windowtest.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QString exportDir()
{
    return TestDb::serverDir() + QStringLiteral("/export");
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void clearExports()
{
    QDir d(exportDir());
    for (const QString &f : d.entryList(QDir::Files))
        d.remove(f);
}

// Runs OK of a fresh export window with the place `place` (the default when empty).
void exportTo(UiDriver &driver, const QString &place = QString())
{
    TForm26 w;
    QVERIFY(wt::showActive(w));
    if (!place.isEmpty())
        w.Edit1->setText(place);
    driver.clear();
    QTest::mouseClick(w.Button1, Qt::LeftButton);
}

} // namespace

class TestMaintenanceExport : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        mv() = ModuleValues{};
        clearExports();
    }

    void windowOffersTheServersExportFolderAndTenTables()
    {
        TestDb db(true);
        db.data();
        UiDriver driver;
        TForm26 w;
        QVERIFY(wt::showActive(w));
        wt::shot(w, "TForm26");
        QCOMPARE(w.windowTitle(), QString("Adat export"));
        QCOMPARE(w.Edit1->text(), exportDir() + "/");
        QStringList captions;
        for (QCheckBox *c : w.CheckBoxes) {
            QVERIFY(c->isChecked());
            captions << c->text();
        }
        QCOMPARE(captions, (QStringList{"Haszonbérlet", "Alrészlet", "Tulajdonos", "Tábla", "Müvelési ág",
                                        "Helységnév", "Tulajdonforma", "Bérlö", "Fekvés", "Kifizetés"}));
        QVERIFY(!w.Button2->isVisible());
    }

    void everyTickedTableIsWrittenInTheServersFormat()
    {
        TestDb db(true);
        // A colon, a backslash and the row's closing asterisk are escaped, a NULL is \N without
        // colons, a comma inside a value stays as it is (the value is enclosed).
        db.exec(
            QString::fromUtf8("INSERT INTO varos (IDv, vKod, vHelyseg) VALUES (1, '1', 'Bugac'), "
                              "(2, '2', 'a:b\\\\c'), (3, '3', NULL), (4, '4', 'x*y,z'), (5, '5', 'Bősz')"));
        db.exec("INSERT INTO kifiz (IDk, kKod, kDatum, kMegnev, kFt, kNkod) VALUES (7, '1', '2025-03-01', "
                "'előleg', 2000.5, '3')");
        db.data();
        UiDriver driver;
        exportTo(driver);
        QCOMPARE(driver.texts(), QStringList{"Mentés vége. "});
        QCOMPARE(readFile(exportDir() + "/varos.txt"),
                 QByteArray(":1:,:1:,:Bugac:*:2:,:2:,:a\\:b\\\\c:*:3:,:3:,\\N*:4:,:4:,:x\\*y,z:*:5:,:5:,:B") +
                     QString::fromUtf8("ősz").toUtf8() + QByteArray(":*"));
        QCOMPARE(readFile(exportDir() + "/kifiz.txt"), QByteArray(":7:,:1:,:2025-03-01:,:") +
                                                           QString::fromUtf8("előleg").toUtf8() +
                                                           QByteArray(":,\\N,\\N,\\N,:2000.5:,:3:,::*"));
        QCOMPARE(readFile(exportDir() + "/haszn.txt"), QByteArray()); // no rows, an empty file
        QStringList files = QDir(exportDir()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{"alresz.txt", "berlo.txt", "fekves.txt", "haszn.txt", "kifiz.txt",
                                     "muvag.txt", "tabla.txt", "tforma.txt", "tulaj.txt", "varos.txt"}));
        // The register's personal data: the user's alone.
        QCOMPARE(QFile::permissions(exportDir() + "/tulaj.txt") & 0x0077, QFileDevice::Permissions());
    }

    void secondExportReplacesTheFirstAndUntickedTablesAreLeft()
    {
        TestDb db(true);
        db.exec("INSERT INTO varos (IDv, vKod, vHelyseg) VALUES (1, '1', 'Bugac')");
        db.data();
        UiDriver driver;
        exportTo(driver);
        QCOMPARE(readFile(exportDir() + "/varos.txt"), QByteArray(":1:,:1:,:Bugac:*"));
        const QByteArray muvag = readFile(exportDir() + "/muvag.txt");
        db.exec("UPDATE varos SET vHelyseg = 'Szank'");
        db.exec("DELETE FROM muvag");
        {
            TForm26 w;
            QVERIFY(wt::showActive(w));
            w.CheckBoxes[4]->setChecked(false); // muvag
            QTest::mouseClick(w.Button1, Qt::LeftButton);
        }
        QCOMPARE(readFile(exportDir() + "/varos.txt"), QByteArray(":1:,:1:,:Szank:*"));
        QCOMPARE(readFile(exportDir() + "/muvag.txt"), muvag);
        QCOMPARE(QDir(exportDir()).entryList(QDir::Files).size(), 10); // no temporary file left
        // Nothing ticked: only the closing box.
        TForm26 w;
        QVERIFY(wt::showActive(w));
        for (QCheckBox *c : w.CheckBoxes)
            c->setChecked(false);
        driver.clear();
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{"Mentés vége. "});
        QVERIFY(!w.isVisible());
    }

    // A place that is no full path would be a file inside the server's data folder: refused before
    // anything is written. A place the server may not write into: the server's message, and the
    // last good export stays as it was.
    void refusedPlacesKeepTheLastGoodExport_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("message");
        QTest::newRow("drive letter") << "a:\\"
                                      << "teljes elérési útja";
        QTest::newRow("relative") << "mentes"
                                  << "teljes elérési útja";
        QTest::newRow("outside the server's folder") << "/tmp/zelvana-nem-szabad/"
                                                     << "secure-file-priv";
    }
    void refusedPlacesKeepTheLastGoodExport()
    {
        QFETCH(QString, place);
        QFETCH(QString, message);
        TestDb db(true);
        db.exec("INSERT INTO varos (IDv, vKod, vHelyseg) VALUES (1, '1', 'Bugac')");
        db.data();
        UiDriver driver;
        exportTo(driver);
        db.exec("UPDATE varos SET vHelyseg = 'Szank'");
        TForm26 w;
        QVERIFY(wt::showActive(w));
        w.Edit1->setText(place);
        driver.clear();
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.lastText().contains(message), qPrintable(driver.lastText()));
        QVERIFY(!driver.lastText().contains("Mentés vége."));
        QVERIFY(w.isVisible());
        QCOMPARE(readFile(exportDir() + "/varos.txt"), QByteArray(":1:,:1:,:Bugac:*"));
        QCOMPARE(QDir(exportDir()).entryList(QDir::Files).size(), 10);
    }

    // A place typed without its final "/" is a folder all the same.
    void folderWithoutTheFinalSlash()
    {
        TestDb db(true);
        db.exec("INSERT INTO varos (IDv, vKod, vHelyseg) VALUES (1, '1', 'Bugac')");
        db.data();
        UiDriver driver;
        exportTo(driver, exportDir());
        QCOMPARE(driver.texts(), QStringList{"Mentés vége. "});
        QCOMPARE(readFile(exportDir() + "/varos.txt"), QByteArray(":1:,:1:,:Bugac:*"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestMaintenanceExport t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_maintenance_export.moc"
