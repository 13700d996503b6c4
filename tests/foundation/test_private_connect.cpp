// Run by test_private_server.sh with a private server started by script/db in a temporary data
// home and no ZELVANA_DB_* variable set: the program finds that server's socket on its own.

#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/tdata.h"
#include "support/uidriver.h"

#include <QTest>

class TestPrivateConnect : public QObject
{
    Q_OBJECT
private slots:
    void programStartsThroughThePrivateSocket()
    {
        QVERIFY(qEnvironmentVariableIsEmpty("ZELVANA_DB_HOST"));
        QVERIFY(qEnvironmentVariableIsEmpty("ZELVANA_DB_SOCKET"));
        UiDriver driver;
        TForm1 form;
        QVERIFY2(form.startedUp(), qPrintable(driver.texts().join('|')));
        QVERIFY(Data().ZCon1->viaSocket());
        QCOMPARE(Data().ZCon1->settings().socket, ConnectionSettings::privateSocketPath());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // The tenant's row, through the socket, for the report headers.
        Data().ZTable8->first();
        QCOMPARE(Data().ZTable8->fieldText("BNeve"), QString("Próba Kft."));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TestPrivateConnect t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_private_connect.moc"
