#include "foundation/application.h"

#include "foundation/connection.h"
#include "foundation/ui.h"
#include "reports/engine/datasource.h"

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Zelvana"));
    setApplicationVersion(QStringLiteral("2.7"));
    // Lets a Wayland desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("hu.zelvana.Zelvana"));
    setProperty("helpFile", QString::fromLatin1(helpFile));
    // A statement refused for a character the database cannot hold is reported to the user at
    // once, naming the character; the window's own guard then takes its failure path.
    Connection::refusalNotifier() = [](const QString &message) { ui::message(message); };
    // So is a server that went away, once for each action of the user: the window's own failure
    // message then follows it.
    Connection::lossNotifier() = [](const QString &message) { ui::message(message); };
}

void showUncaught(const std::exception &e)
{
    if (dynamic_cast<const EncodingError *>(&e) || dynamic_cast<const ConnectionLost *>(&e))
        return; // already shown when the statement was refused or the connection broke
    if (auto *db = dynamic_cast<const DbError *>(&e)) {
        ui::error(db->text());
        return;
    }
    if (auto *re = dynamic_cast<const report::ReportError *>(&e)) {
        ui::titledBox(re->title(), re->message());
        return;
    }
    ui::error(QString::fromUtf8(e.what()));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    // A click or a key starts a new action: a broken connection is reported to it afresh.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        Connection::newUserAction();
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showUncaught(e);
    }
    return false;
}
